#pragma once

#include <cstddef>

namespace dravik {

// Checks made on a file's bytes before the XML parser sees them: the parser
// recurses once per nesting level, and reads a UTF-8 sequence as long as its
// first byte says without looking for the end of the text.

// The deepest element nesting that the parser could reach in text. Never
// less than the real depth: comments, CDATA sections and declarations are
// skipped, quoted attribute values are stepped over, and anything doubtful
// counts as one more level. Text that the parser may cut into markup
// differently (a UTF-8 first byte right before '<' or a quote, a quoted
// declaration value that could run past its '>') is measured by the number
// of element starts in it instead.
std::size_t measureElementDepth(const char* text, std::size_t size);

// Bytes that the parser's UTF-8 reading takes for a sequence starting with
// c, from its own table: 2 to 4 for a lead byte, 1 for anything else.
std::size_t utf8SequenceLength(unsigned char c);

// True when a byte that starts a multi-byte UTF-8 sequence is followed, once
// line breaks are folded as the parser folds them, by fewer bytes than it
// announces before a NUL or the end of the text.
bool hasCutMultiByteSequence(const char* text, std::size_t size);

}  // namespace dravik
