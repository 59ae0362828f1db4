#include "config/InstallLocation.h"
#include "log/Logger.h"
#include "platform/PathStrings.h"

namespace dravik {

bool getMonitorAppPath(PathBuffer& out) {
    Logger::instance()->log("[Dravik] Enter getMonitorAppPath()");
    PathBuffer monitorPath;
    PathBuffer monitorName;
    if (!getSystemPath(monitorPath) || !appendBackslash(monitorPath)) {
        Logger::instance()->log("[Dravik] Failed to get system path!");
        return false;
    }
    getMonitorAppName(monitorName);
    // A monitor path too long for its buffer is refused the same way.
    if (!monitorPath.append(monitorName.get())) {
        Logger::instance()->log("[Dravik] Failed to get system path!");
        return false;
    }
    out.assign(monitorPath.get());
    Logger::instance()->log("[Dravik] Monitor path: %s", out.get());
    Logger::instance()->log("[Dravik] Leave getMonitorAppPath()");
    return true;
}

}  // namespace dravik
