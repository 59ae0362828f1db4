// The floor for the launcher's cost: the same two program starts and nothing
// else. The setup program beside this executable is started through the shell
// with "runas" and waited for; on exit code 0 the monitor, whose full path is
// compiled in, is started with the argument "lauch" and not waited for.
#include <windows.h>
#include <shellapi.h>

#ifndef REFERENCE_MONITOR
#error "define REFERENCE_MONITOR as the monitor's full path, a string literal"
#endif

int WINAPI WinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, LPSTR /*commandLine*/,
                   int /*show*/) {
    char setup[MAX_PATH + 16] = "\"";
    const DWORD length = GetModuleFileNameA(nullptr, setup + 1, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return 1;
    }
    char* name = setup + 1;
    for (char* p = name; *p != '\0'; ++p) {
        if (*p == '\\') {
            name = p + 1;
        }
    }
    lstrcpyA(name, "Tolmer.exe\"");

    SHELLEXECUTEINFOA request = {};
    request.cbSize = sizeof request;
    request.fMask = SEE_MASK_NOCLOSEPROCESS;
    request.lpVerb = "runas";
    request.lpFile = setup;
    request.lpParameters = "";
    request.lpDirectory = "";
    request.nShow = SW_HIDE;
    if (!ShellExecuteExA(&request) || request.hProcess == nullptr) {
        return 1;
    }
    DWORD exitCode = 1;
    const DWORD waited = WaitForSingleObject(request.hProcess, INFINITE);
    const BOOL read = GetExitCodeProcess(request.hProcess, &exitCode);
    CloseHandle(request.hProcess);
    if (waited != WAIT_OBJECT_0 || !read || exitCode != 0) {
        return 1;
    }

    char commandLine[MAX_PATH] = "\"" REFERENCE_MONITOR "\" lauch";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (CreateProcessA(nullptr, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                       &startup, &process)) {
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    return 0;
}
