#include "platform/PathStrings.h"

namespace dravik {

bool getParentDirectory(const PathBuffer& path, PathBuffer& out) {
    const char* text = path.get();
    const std::size_t n = path.length();
    std::size_t k = n;
    for (std::size_t i = 0; i < n; ++i) {
        if (text[i] == '\\') {
            k = i;
        }
    }
    if (k == n) {
        return false;
    }
    char* target = out.data();
    for (std::size_t i = 0; i < k; ++i) {
        target[i] = text[i];
    }
    target[k] = '\0';
    return true;
}

}  // namespace dravik
