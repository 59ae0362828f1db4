#include "config/XmlSafety.h"

namespace dravik {

std::size_t utf8SequenceLength(unsigned char c) {
    if (c >= 0xC2 && c <= 0xDF) {
        return 2;
    }
    if (c >= 0xE0 && c <= 0xEF) {
        return 3;
    }
    if (c >= 0xF0 && c <= 0xF4) {
        return 4;
    }
    return 1;
}

}  // namespace dravik
