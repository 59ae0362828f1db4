#include "platform/PathStrings.h"

namespace dravik {

void normalizeSlashes(PathBuffer& path) {
    char* text = path.data();
    const std::size_t n = path.length();
    for (std::size_t i = 0; i < n; ++i) {
        if (text[i] == '/') {
            text[i] = '\\';
        }
    }
}

}  // namespace dravik
