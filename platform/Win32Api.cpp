#include "platform/Win32Api.h"

// Production forwarding: one call each, nothing else.
namespace sys {

DWORD GetModuleFileNameA(HMODULE module, LPSTR fileName, DWORD size) {
    return ::GetModuleFileNameA(module, fileName, size);
}
DWORD GetTempPathA(DWORD bufferLength, LPSTR buffer) {
    return ::GetTempPathA(bufferLength, buffer);
}
HANDLE GetCurrentThread() { return ::GetCurrentThread(); }
HANDLE GetCurrentProcess() { return ::GetCurrentProcess(); }
DWORD GetLastError() { return ::GetLastError(); }
BOOL OpenThreadToken(HANDLE thread, DWORD desiredAccess, BOOL openAsSelf, PHANDLE token) {
    return ::OpenThreadToken(thread, desiredAccess, openAsSelf, token);
}
BOOL OpenProcessToken(HANDLE process, DWORD desiredAccess, PHANDLE token) {
    return ::OpenProcessToken(process, desiredAccess, token);
}
BOOL DuplicateTokenEx(HANDLE token, DWORD desiredAccess, LPSECURITY_ATTRIBUTES attributes,
                      SECURITY_IMPERSONATION_LEVEL level, TOKEN_TYPE type, PHANDLE newToken) {
    return ::DuplicateTokenEx(token, desiredAccess, attributes, level, type, newToken);
}
HRESULT SHGetFolderPathA(HWND owner, int csidl, HANDLE token, DWORD flags, LPSTR path) {
    return ::SHGetFolderPathA(owner, csidl, token, flags, path);
}
BOOL GetVersionExW(LPOSVERSIONINFOW info) { return ::GetVersionExW(info); }
BOOL ShellExecuteExA(SHELLEXECUTEINFOA* info) { return ::ShellExecuteExA(info); }
DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds) {
    return ::WaitForSingleObject(handle, milliseconds);
}
BOOL GetExitCodeProcess(HANDLE process, LPDWORD exitCode) {
    return ::GetExitCodeProcess(process, exitCode);
}
BOOL CloseHandle(HANDLE handle) { return ::CloseHandle(handle); }
BOOL CreateProcessA(LPCSTR applicationName, LPSTR commandLine,
                    LPSECURITY_ATTRIBUTES processAttributes, LPSECURITY_ATTRIBUTES threadAttributes,
                    BOOL inheritHandles, DWORD creationFlags, LPVOID environment,
                    LPCSTR currentDirectory, LPSTARTUPINFOA startupInfo,
                    LPPROCESS_INFORMATION processInformation) {
    return ::CreateProcessA(applicationName, commandLine, processAttributes, threadAttributes,
                            inheritHandles, creationFlags, environment, currentDirectory,
                            startupInfo, processInformation);
}
void GetLocalTime(LPSYSTEMTIME time) { ::GetLocalTime(time); }

}  // namespace sys
