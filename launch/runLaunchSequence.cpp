#include "launch/Launch.h"

#include "log/Logger.h"

namespace dravik {

int runLaunchSequence() {
    Logger::instance()->log("[Dravik] Enter main()");
    if (!startTolmer()) {
        Logger::instance()->log("[Dravik] Failed to start the Tolmer!");
        return 1;
    }
    // The monitor's fate does not change the outcome: setup succeeded.
    startMonitor("lauch");
    Logger::instance()->log("[Dravik] Leave main()");
    return 0;
}

}  // namespace dravik
