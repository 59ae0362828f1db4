#pragma once

#include <cstddef>

namespace dravik {

// The deepest element nesting that an XML parser could reach in text. Never
// less than the real depth: comments, CDATA sections and declarations are
// skipped, quoted attribute values are stepped over, and anything doubtful
// counts as one more level.
std::size_t measureElementDepth(const char* text, std::size_t size);

}  // namespace dravik
