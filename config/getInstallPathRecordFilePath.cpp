#include "config/InstallLocation.h"
#include "log/Logger.h"
#include "platform/PathQueries.h"
#include "platform/PathStrings.h"

namespace dravik {

bool getInstallPathRecordFilePath(PathBuffer& out) {
    Logger::instance()->log("[Dravik] Enter getInstallPathRecordFilePath()");
    if (!getCommonAppDataPath(out)) {
        Logger::instance()->log("[Dravik] Failed to get common application data path!");
        return false;
    }
    PathBuffer relativePath;
    getInstallPathRecordFileRelativePath(relativePath);
    // A joined path that does not fit names no file we could open safely.
    const bool exists =
        appendBackslash(out) && out.append(relativePath.get()) && fileExists(out.get());
    if (exists) {
        Logger::instance()->log("[Dravik] Install path record file path: %s", out.get());
    } else {
        Logger::instance()->log("[Dravik] Failed to find the install path record file!");
    }
    Logger::instance()->log("[Dravik] Leave getInstallPathRecordFilePath()");
    return exists;
}

}  // namespace dravik
