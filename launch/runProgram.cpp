#include "launch/Launch.h"

#include "platform/Win32Api.h"

#include <cstring>

namespace dravik {

bool runProgram(char* commandLine) {
    STARTUPINFOA startup;
    std::memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process;
    std::memset(&process, 0, sizeof process);
    const bool started = sys::CreateProcessA(nullptr, commandLine, nullptr, nullptr, FALSE, 0,
                                             nullptr, nullptr, &startup, &process) == TRUE;
    if (started) {
        // Nothing waits for the monitor: it outlives the launcher.
        sys::CloseHandle(process.hProcess);
        sys::CloseHandle(process.hThread);
    }
    return started;
}

}  // namespace dravik
