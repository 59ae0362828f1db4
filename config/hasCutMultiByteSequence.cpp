#include "config/XmlSafety.h"

namespace dravik {

bool hasCutMultiByteSequence(const char* text, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) {
        const std::size_t n = utf8SequenceLength(static_cast<unsigned char>(text[i]));
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
