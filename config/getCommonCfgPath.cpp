#include "config/CommonConfig.h"

#include "platform/PathQueries.h"
#include "platform/PathStrings.h"

namespace dravik {

bool getCommonCfgPath(PathBuffer& out) {
    PathBuffer folder;
    if (!getModuleDirectory(folder)) {
        return false;
    }
    // A folder too long for the name means no configuration, not a cut path.
    return out.assign(folder.get()) && appendBackslash(out) && out.append("Common.cfg") &&
           fileExists(out.get());
}

}  // namespace dravik
