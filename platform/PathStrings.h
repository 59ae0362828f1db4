#pragma once

#include "platform/PathBuffer.h"

namespace dravik {

// Appends '\' unless the text already ends in one. Refuses (false, text
// unchanged) an empty text, which names no folder, and a text with no room.
bool appendBackslash(PathBuffer& path);

// Turns every '/' into '\'.
void normalizeSlashes(PathBuffer& path);

// The text before the last '\' of path; false when path holds none, with out
// unchanged.
bool getParentDirectory(const PathBuffer& path, PathBuffer& out);

}  // namespace dravik
