#include "config/XmlSafety.h"

#include <cstring>

namespace dravik {

namespace {

bool startsWith(const char* text, std::size_t size, std::size_t at, const char* prefix) {
    const std::size_t n = std::strlen(prefix);
    return size - at >= n && std::memcmp(text + at, prefix, n) == 0;
}

// Index just past the first occurrence of terminator at or after at, or size.
std::size_t skipPast(const char* text, std::size_t size, std::size_t at, const char* terminator) {
    const std::size_t n = std::strlen(terminator);
    for (std::size_t i = at; i + n <= size; ++i) {
        if (std::memcmp(text + i, terminator, n) == 0) {
            return i + n;
        }
    }
    return size;
}

// What the parser takes for the start of an element name: a letter, an
// underscore, or any byte from 127 up.
bool startsElementName(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c >= 127;
}

}  // namespace

std::size_t measureElementDepth(const char* text, std::size_t size) {
    std::size_t depth = 0;
    std::size_t deepest = 0;
    std::size_t i = 0;
    while (i < size) {
        if (text[i] != '<') {
            ++i;
            continue;
        }
        if (startsWith(text, size, i, "<!--")) {
            i = skipPast(text, size, i + 4, "-->");
        } else if (startsWith(text, size, i, "<![CDATA[")) {
            i = skipPast(text, size, i + 9, "]]>");
        } else if (startsWith(text, size, i, "</")) {
            depth = depth > 0 ? depth - 1 : 0;
            i = skipPast(text, size, i + 2, ">");
        } else if (i + 1 < size && startsElementName(static_cast<unsigned char>(text[i + 1]))) {
            ++depth;
            if (depth > deepest) {
                deepest = depth;
            }
            // Step over the tag, quoted values included; "/>" closes it again.
            char quote = '\0';
            char previous = '\0';
            for (++i; i < size; ++i) {
                const char c = text[i];
                if (quote != '\0') {
                    if (c == quote) {
                        quote = '\0';
                    }
                } else if (c == '"' || c == '\'') {
                    quote = c;
                } else if (c == '>') {
                    break;
                }
                previous = c;
            }
            if (i < size && previous == '/') {
                --depth;
            }
            ++i;
        } else {
            // Declarations, processing instructions and stray '<'.
            i = skipPast(text, size, i + 1, ">");
        }
    }
    return deepest;
}

}  // namespace dravik
