#include "launch/Launch.h"

#include "launch/OsVersion.h"
#include "platform/Win32Api.h"

#include <cstring>

namespace dravik {

int shellExecuteAndWait(const char* file, const char* parameters) {
    const OsVersion version;
    SHELLEXECUTEINFOA request;
    std::memset(&request, 0, sizeof request);
    request.cbSize = sizeof request;
    request.fMask = SEE_MASK_NOCLOSEPROCESS;
    request.hwnd = nullptr;
    // Vista and later ask the user to elevate the setup program.
    request.lpVerb = version.isVistaOrLater() ? "runas" : "open";
    request.lpFile = file;
    request.lpParameters = parameters;
    request.lpDirectory = "";
    request.nShow = SW_HIDE;
    if (!sys::ShellExecuteExA(&request)) {
        return -1;
    }
    const DWORD wait = sys::WaitForSingleObject(request.hProcess, INFINITE);
    if (wait != WAIT_OBJECT_0 && wait != WAIT_ABANDONED) {
        if (request.hProcess != nullptr) {
            sys::CloseHandle(request.hProcess);
        }
        return -2;
    }
    DWORD exitCode = 0;
    if (!sys::GetExitCodeProcess(request.hProcess, &exitCode)) {
        sys::CloseHandle(request.hProcess);
        return -3;
    }
    sys::CloseHandle(request.hProcess);
    return static_cast<int>(exitCode);
}

}  // namespace dravik
