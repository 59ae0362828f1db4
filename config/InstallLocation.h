#pragma once

#include "platform/PathBuffer.h"

namespace dravik {

// The chain from the install-path record file to the monitor's full path.
// Each step fills the caller's buffer and logs what it found.

void getInstallPathRecordFileRelativePath(PathBuffer& out);
bool getInstallPathRecordFilePath(PathBuffer& out);
bool getInstallPath(PathBuffer& out);
bool getSystemPath(PathBuffer& out);
void getMonitorAppName(PathBuffer& out);
bool getMonitorAppPath(PathBuffer& out);

}  // namespace dravik
