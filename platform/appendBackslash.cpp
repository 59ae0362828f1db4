#include "platform/PathStrings.h"

namespace dravik {

bool appendBackslash(PathBuffer& path) {
    const std::size_t n = path.length();
    if (n == 0) {
        return false;
    }
    if (path.get()[n - 1] == '\\') {
        return true;
    }
    return path.append("\\");
}

}  // namespace dravik
