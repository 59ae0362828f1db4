#pragma once

#include <cstddef>

namespace dravik {

// Checks made on a file's bytes before the XML parser sees them: the parser
// recurses once per nesting level, and reads a UTF-8 sequence as long as its
// first byte says without looking for the end of the text.

// The deepest element nesting that the parser could reach in text. Never
// less than the real depth: comments, CDATA sections and declarations are
// skipped, quoted attribute values are stepped over, and anything doubtful
// counts as one more level.
std::size_t measureElementDepth(const char* text, std::size_t size);

// True when a byte that starts a multi-byte UTF-8 sequence is followed, once
// line breaks are folded as the parser folds them, by fewer bytes than it
// announces before a NUL or the end of the text.
bool hasCutMultiByteSequence(const char* text, std::size_t size);

}  // namespace dravik
