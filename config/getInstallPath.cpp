#include "config/InstallLocation.h"
#include "config/XmlConfig.h"
#include "log/Logger.h"

namespace dravik {

bool getInstallPath(PathBuffer& out) {
    Logger::instance()->log("[Dravik] Enter getInstallPath()");
    PathBuffer recordFilePath;
    if (!getInstallPathRecordFilePath(recordFilePath)) {
        Logger::instance()->log("[Dravik] Failed to get the install path record file path!");
        return false;
    }
    PathBuffer installPath;
    bool found = false;
    {
        const XmlConfig record(recordFilePath.get());
        // An empty folder would make every later path relative to wherever
        // the launcher happens to run: it counts as no value.
        found = record.getValue("RQInstallationPath", installPath) && !installPath.empty();
    }
    if (found) {
        out.assign(installPath.get());
        Logger::instance()->log("[Dravik] Install path: %s", out.get());
    } else {
        Logger::instance()->log("[Dravik] Failed to get the value of RQInstallationPath!");
    }
    Logger::instance()->log("[Dravik] Leave getInstallPath()");
    return found;
}

}  // namespace dravik
