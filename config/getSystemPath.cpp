#include "config/InstallLocation.h"
#include "log/Logger.h"
#include "platform/PathStrings.h"

namespace dravik {

bool getSystemPath(PathBuffer& out) {
    Logger::instance()->log("[Dravik] Enter getSystemPath()");
    PathBuffer systemPath;
    // A system path too long for its buffer fails like a missing install
    // folder: a cut path could name another program.
    if (!getInstallPath(systemPath) || !appendBackslash(systemPath) ||
        !systemPath.append("System")) {
        Logger::instance()->log("[Dravik] Failed to get install path!");
        return false;
    }
    out.assign(systemPath.get());
    Logger::instance()->log("[Dravik] System path: %s", out.get());
    Logger::instance()->log("[Dravik] Leave getSystemPath()");
    return true;
}

}  // namespace dravik
