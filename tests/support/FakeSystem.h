#pragma once

// The unit tests' stand-in for the production seam (platform/Win32Api.cpp and
// platform/CrtApi.cpp). Each sys:: call goes to the matching member below;
// every member forwards to the real function until a test replaces it. The
// fake holds no logic of its own: a test that needs a failure, an answer or
// a record of the arguments says so in the lambda that it installs.

#include "platform/Win32Api.h"

#include <functional>

namespace fake {

struct System {
    std::function<DWORD(HMODULE, LPSTR, DWORD)> GetModuleFileNameA;
    std::function<DWORD(DWORD, LPSTR)> GetTempPathA;
    std::function<HANDLE()> GetCurrentThread;
    std::function<HANDLE()> GetCurrentProcess;
    std::function<DWORD()> GetLastError;
    std::function<BOOL(HANDLE, DWORD, BOOL, PHANDLE)> OpenThreadToken;
    std::function<BOOL(HANDLE, DWORD, PHANDLE)> OpenProcessToken;
    std::function<BOOL(HANDLE, DWORD, LPSECURITY_ATTRIBUTES, SECURITY_IMPERSONATION_LEVEL,
                       TOKEN_TYPE, PHANDLE)>
        DuplicateTokenEx;
    std::function<HRESULT(HWND, int, HANDLE, DWORD, LPSTR)> SHGetFolderPathA;
    std::function<BOOL(LPOSVERSIONINFOW)> GetVersionExW;
    std::function<BOOL(SHELLEXECUTEINFOA*)> ShellExecuteExA;
    std::function<DWORD(HANDLE, DWORD)> WaitForSingleObject;
    std::function<BOOL(HANDLE, LPDWORD)> GetExitCodeProcess;
    std::function<BOOL(HANDLE)> CloseHandle;
    std::function<BOOL(LPCSTR, LPSTR, LPSECURITY_ATTRIBUTES, LPSECURITY_ATTRIBUTES, BOOL, DWORD,
                       LPVOID, LPCSTR, LPSTARTUPINFOA, LPPROCESS_INFORMATION)>
        CreateProcessA;
    std::function<void(LPSYSTEMTIME)> GetLocalTime;

    std::function<FILE*(const char*, const char*)> fopen;
    std::function<int(FILE*)> fclose;
    std::function<std::size_t(void*, std::size_t, std::size_t, FILE*)> fread;
    std::function<int(FILE*, long, int)> fseek;
    // A plain pointer: va_list carries attributes that std::function drops.
    int (*vsnprintf)(char*, std::size_t, const char*, va_list);
};

// The members in use now. Alive from before the first static constructor
// that calls through the seam (the log object's) until process exit.
System& system();

// Puts every member back to forwarding to the real function.
void reset();

}  // namespace fake
