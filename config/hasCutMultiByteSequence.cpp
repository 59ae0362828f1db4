#include "config/XmlSafety.h"

namespace dravik {

namespace {

// Sequence length as the parser's table gives it for a first byte.
std::size_t announcedLength(unsigned char c) {
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

}  // namespace

bool hasCutMultiByteSequence(const char* text, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) {
        const std::size_t n = announcedLength(static_cast<unsigned char>(text[i]));
        std::size_t j = i + 1;
        for (std::size_t k = 1; k < n; ++k) {
            if (j >= size || text[j] == '\0') {
                return true;
            }
            // The parser folds CR LF into one LF before it reads.
            j += (text[j] == '\r' && j + 1 < size && text[j + 1] == '\n') ? 2 : 1;
        }
    }
    return false;
}

}  // namespace dravik
