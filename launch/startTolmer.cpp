#include "launch/Launch.h"

#include "log/Logger.h"
#include "platform/PathBuffer.h"
#include "platform/PathQueries.h"
#include "platform/PathStrings.h"

namespace dravik {

namespace {

// "<folder>\Tolmer.exe" in double quotes; false when it does not fit.
bool buildQuotedTolmerPath(const PathBuffer& folder, PathBuffer& out) {
    return out.assign("\"") && out.append(folder.get()) && appendBackslash(out) &&
           out.append("Tolmer.exe") && out.append("\"");
}

}  // namespace

bool startTolmer() {
    Logger::instance()->log("[Dravik] Enter startTolmer()");
    PathBuffer folder;
    PathBuffer quotedPath;
    if (!getModuleDirectory(folder) || !buildQuotedTolmerPath(folder, quotedPath)) {
        Logger::instance()->log("[Dravik] Failed to get the path of Tolmer!");
        return false;
    }
    Logger::instance()->log("[Dravik] Tolmer path: %s", quotedPath.get());
    const int result = shellExecuteAndWait(quotedPath.get(), "");
    if (result != 0) {
        Logger::instance()->log("[Dravik] Failed to run Tolmer!");
    }
    Logger::instance()->log("[Dravik] Leave startTolmer()");
    return result == 0;
}

}  // namespace dravik
