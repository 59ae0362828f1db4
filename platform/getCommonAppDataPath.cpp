#include "platform/PathQueries.h"
#include "platform/Win32Api.h"

namespace dravik {

bool getCommonAppDataPath(PathBuffer& out) { return getFolderPath(CSIDL_COMMON_APPDATA, out); }

}  // namespace dravik
