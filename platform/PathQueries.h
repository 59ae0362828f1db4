#pragma once

#include "platform/PathBuffer.h"

namespace dravik {

// Folder of the running executable, without a trailing backslash.
bool getModuleDirectory(PathBuffer& out);

// A shell folder (a CSIDL value) as the calling thread's identity sees it.
bool getFolderPath(int csidl, PathBuffer& out);

// The machine-wide application data folder.
bool getCommonAppDataPath(PathBuffer& out);

// The temporary folder, or "C:\temp" when the platform gives none that fits.
void getTempDirectory(PathBuffer& out);

// True when the file can be opened for reading now.
bool fileExists(const char* path);

}  // namespace dravik
