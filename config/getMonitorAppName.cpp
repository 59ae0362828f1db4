#include "config/CommonConfig.h"
#include "config/InstallLocation.h"
#include "log/Logger.h"

namespace dravik {

namespace {

// 255 characters of base name, so that ".exe" always fits a path buffer.
using BaseName = StackString<256>;

}  // namespace

void getMonitorAppName(PathBuffer& out) {
    Logger::instance()->log("[Dravik] Enter getMonitorAppName()");
    BaseName baseName;
    bool configured = false;
    {
        const CommonConfig config;
        configured = config.getValue("CommonCfg.MonitorName", baseName);
    }
    if (!configured) {
        Logger::instance()->log("[Dravik] Use default monitor base name.");
        baseName.assign("Quillet");
    }
    Logger::instance()->log("[Dravik] Monitor base name: %s", baseName.get());
    out.assign(baseName.get());
    out.append(".exe");
    Logger::instance()->log("[Dravik] Monitor name: %s", out.get());
    Logger::instance()->log("[Dravik] Leave getMonitorAppName()");
}

}  // namespace dravik
