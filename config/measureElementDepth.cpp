#include "config/XmlSafety.h"

#include <cstring>
#include <initializer_list>

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

bool isWhiteSpace(unsigned char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// True when the parser may split the text into markup differently from the
// scan below, so that an end tag that the scan counts may be text to the
// parser:
// - In UTF-8 mode the parser reads text and attribute values one sequence
//   at a time, as long as the first byte announces, so a '<' or a quote
//   right after such a byte is taken into the text and ends nothing.
// - In an XML declaration the parser reads a quoted value after '=' (for
//   version, encoding and standalone) without stopping at '>', while the
//   scan ends the declaration at its first '>'. The two agree unless the
//   last quote before that '>' opens a value.
bool mayReadDifferently(const char* text, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) {
        const std::size_t n = utf8SequenceLength(static_cast<unsigned char>(text[i]));
        std::size_t j = i + 1;
        for (std::size_t k = 1; k < n && j < size; ++k) {
            // The parser folds CR LF into one LF before it reads.
            if (text[j] == '\r' && j + 1 < size && text[j + 1] == '\n') {
                ++j;
            }
            if (text[j] == '<' || text[j] == '"' || text[j] == '\'') {
                return true;
            }
            ++j;
        }
    }
    for (std::size_t i = 0; i + 1 < size; ++i) {
        if (text[i] != '<' || text[i + 1] != '?') {
            continue;
        }
        std::size_t end = i + 2;
        while (end < size && text[end] != '>') {
            ++end;
        }
        for (const char quote : {'"', '\''}) {
            std::size_t q = end;
            while (q > i + 2 && text[q - 1] != quote) {
                --q;
            }
            if (q == i + 2) {
                continue;
            }
            // q - 1 is the last quote; does an '=' lead to it?
            std::size_t b = q - 1;
            while (b > i && (isWhiteSpace(static_cast<unsigned char>(text[b - 1])) ||
                             static_cast<unsigned char>(text[b - 1]) >= 0x80)) {
                --b;
            }
            if (b > i && text[b - 1] == '=') {
                return true;
            }
        }
    }
    return false;
}

// Every position where an element could start: each level of nesting needs
// one of its own, so this bounds the depth whatever the parser makes of the
// rest.
std::size_t countElementStarts(const char* text, std::size_t size) {
    std::size_t count = 0;
    for (std::size_t i = 0; i + 1 < size; ++i) {
        if (text[i] == '<' && startsElementName(static_cast<unsigned char>(text[i + 1]))) {
            ++count;
        }
    }
    return count;
}

}  // namespace

std::size_t measureElementDepth(const char* text, std::size_t size) {
    if (mayReadDifferently(text, size)) {
        return countElementStarts(text, size);
    }
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
