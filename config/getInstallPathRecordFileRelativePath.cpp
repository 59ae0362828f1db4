#include "config/CommonConfig.h"
#include "config/InstallLocation.h"
#include "log/Logger.h"
#include "platform/PathStrings.h"

namespace dravik {

void getInstallPathRecordFileRelativePath(PathBuffer& out) {
    Logger::instance()->log("[Dravik] Enter getInstallPathRecordFileRelativePath()");
    bool configured = false;
    {
        const CommonConfig config;
        configured = config.getValue("CommonCfg.InstallPathRecordFileRelativePath", out);
    }
    if (!configured) {
        Logger::instance()->log("[Dravik] Use default install path record file relative path.");
        out.assign("Pelmo/RQ/InstallPath/RQInstallationPath.xml");
    }
    normalizeSlashes(out);
    Logger::instance()->log("[Dravik] Install path record file relative path: %s", out.get());
    Logger::instance()->log("[Dravik] Leave getInstallPathRecordFileRelativePath()");
}

}  // namespace dravik
