#include "platform/PathQueries.h"
#include "platform/PathStrings.h"
#include "platform/Win32Api.h"

namespace dravik {

bool getModuleDirectory(PathBuffer& out) {
    PathBuffer modulePath;
    const DWORD n = sys::GetModuleFileNameA(nullptr, modulePath.data(), kPathCapacity);
    // A result equal to the capacity means the path was cut short.
    if (n == 0 || n >= kPathCapacity) {
        return false;
    }
    return getParentDirectory(modulePath, out);
}

}  // namespace dravik
