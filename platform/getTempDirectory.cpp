#include "platform/PathQueries.h"
#include "platform/Win32Api.h"

namespace dravik {

void getTempDirectory(PathBuffer& out) {
    const DWORD n = sys::GetTempPathA(kPathCapacity, out.data());
    // 0 is failure; anything from the capacity up means the folder did not
    // fit with its terminator.
    if (n == 0 || n >= kPathCapacity) {
        out.assign("C:\\temp");
    }
}

}  // namespace dravik
