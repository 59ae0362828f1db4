#include "tests/support/FakeSystem.h"

#include <cstdio>

namespace fake {

namespace {

System forwarding() {
    System s;
    s.GetModuleFileNameA = ::GetModuleFileNameA;
    s.GetTempPathA = ::GetTempPathA;
    s.GetCurrentThread = ::GetCurrentThread;
    s.GetCurrentProcess = ::GetCurrentProcess;
    s.GetLastError = ::GetLastError;
    s.OpenThreadToken = ::OpenThreadToken;
    s.OpenProcessToken = ::OpenProcessToken;
    s.DuplicateTokenEx = ::DuplicateTokenEx;
    s.SHGetFolderPathA = ::SHGetFolderPathA;
    s.GetVersionExW = ::GetVersionExW;
    s.ShellExecuteExA = ::ShellExecuteExA;
    s.WaitForSingleObject = ::WaitForSingleObject;
    s.GetExitCodeProcess = ::GetExitCodeProcess;
    s.CloseHandle = ::CloseHandle;
    s.CreateProcessA = ::CreateProcessA;
    s.GetLocalTime = ::GetLocalTime;
    s.fopen = [](const char* path, const char* mode) { return std::fopen(path, mode); };
    s.fclose = [](FILE* stream) { return std::fclose(stream); };
    s.fread = [](void* buffer, std::size_t size, std::size_t count, FILE* stream) {
        return std::fread(buffer, size, count, stream);
    };
    s.fseek = [](FILE* stream, long offset, int origin) {
        return std::fseek(stream, offset, origin);
    };
    s.vsnprintf = [](char* buffer, std::size_t size, const char* format, va_list arguments) {
        return std::vsnprintf(buffer, size, format, arguments);
    };
    return s;
}

}  // namespace

System& system() {
    // Function-local, so that it exists before any static object of the
    // code under test calls through the seam.
    static System current = forwarding();
    return current;
}

void reset() { system() = forwarding(); }

}  // namespace fake

namespace sys {

DWORD GetModuleFileNameA(HMODULE module, LPSTR fileName, DWORD size) {
    return fake::system().GetModuleFileNameA(module, fileName, size);
}
DWORD GetTempPathA(DWORD bufferLength, LPSTR buffer) {
    return fake::system().GetTempPathA(bufferLength, buffer);
}
HANDLE GetCurrentThread() { return fake::system().GetCurrentThread(); }
HANDLE GetCurrentProcess() { return fake::system().GetCurrentProcess(); }
DWORD GetLastError() { return fake::system().GetLastError(); }
BOOL OpenThreadToken(HANDLE thread, DWORD desiredAccess, BOOL openAsSelf, PHANDLE token) {
    return fake::system().OpenThreadToken(thread, desiredAccess, openAsSelf, token);
}
BOOL OpenProcessToken(HANDLE process, DWORD desiredAccess, PHANDLE token) {
    return fake::system().OpenProcessToken(process, desiredAccess, token);
}
BOOL DuplicateTokenEx(HANDLE token, DWORD desiredAccess, LPSECURITY_ATTRIBUTES attributes,
                      SECURITY_IMPERSONATION_LEVEL level, TOKEN_TYPE type, PHANDLE newToken) {
    return fake::system().DuplicateTokenEx(token, desiredAccess, attributes, level, type, newToken);
}
HRESULT SHGetFolderPathA(HWND owner, int csidl, HANDLE token, DWORD flags, LPSTR path) {
    return fake::system().SHGetFolderPathA(owner, csidl, token, flags, path);
}
BOOL GetVersionExW(LPOSVERSIONINFOW info) { return fake::system().GetVersionExW(info); }
BOOL ShellExecuteExA(SHELLEXECUTEINFOA* info) { return fake::system().ShellExecuteExA(info); }
DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds) {
    return fake::system().WaitForSingleObject(handle, milliseconds);
}
BOOL GetExitCodeProcess(HANDLE process, LPDWORD exitCode) {
    return fake::system().GetExitCodeProcess(process, exitCode);
}
BOOL CloseHandle(HANDLE handle) { return fake::system().CloseHandle(handle); }
BOOL CreateProcessA(LPCSTR applicationName, LPSTR commandLine,
                    LPSECURITY_ATTRIBUTES processAttributes, LPSECURITY_ATTRIBUTES threadAttributes,
                    BOOL inheritHandles, DWORD creationFlags, LPVOID environment,
                    LPCSTR currentDirectory, LPSTARTUPINFOA startupInfo,
                    LPPROCESS_INFORMATION processInformation) {
    return fake::system().CreateProcessA(
        applicationName, commandLine, processAttributes, threadAttributes, inheritHandles,
        creationFlags, environment, currentDirectory, startupInfo, processInformation);
}
void GetLocalTime(LPSYSTEMTIME time) { fake::system().GetLocalTime(time); }

FILE* fopen(const char* path, const char* mode) { return fake::system().fopen(path, mode); }
int fclose(FILE* stream) { return fake::system().fclose(stream); }
std::size_t fread(void* buffer, std::size_t size, std::size_t count, FILE* stream) {
    return fake::system().fread(buffer, size, count, stream);
}
int fseek(FILE* stream, long offset, int origin) {
    return fake::system().fseek(stream, offset, origin);
}
int vsnprintf(char* buffer, std::size_t size, const char* format, va_list arguments) {
    return fake::system().vsnprintf(buffer, size, format, arguments);
}

}  // namespace sys
