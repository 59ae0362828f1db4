#pragma once

// The one seam between the program and Win32: every Win32 call the program
// makes goes through these declarations (the C run-time calls go through
// CrtApi.h). The shipped image links Win32Api.cpp, which forwards each call
// unchanged; unit tests link a fake instead, so that each call can fail on
// demand.

#include <windows.h>
#include <shlobj.h>
#include <shellapi.h>

#include "platform/CrtApi.h"

namespace sys {

DWORD GetModuleFileNameA(HMODULE module, LPSTR fileName, DWORD size);
DWORD GetTempPathA(DWORD bufferLength, LPSTR buffer);
HANDLE GetCurrentThread();
HANDLE GetCurrentProcess();
DWORD GetLastError();
BOOL OpenThreadToken(HANDLE thread, DWORD desiredAccess, BOOL openAsSelf, PHANDLE token);
BOOL OpenProcessToken(HANDLE process, DWORD desiredAccess, PHANDLE token);
BOOL DuplicateTokenEx(HANDLE token, DWORD desiredAccess, LPSECURITY_ATTRIBUTES attributes,
                      SECURITY_IMPERSONATION_LEVEL level, TOKEN_TYPE type, PHANDLE newToken);
HRESULT SHGetFolderPathA(HWND owner, int csidl, HANDLE token, DWORD flags, LPSTR path);
BOOL GetVersionExW(LPOSVERSIONINFOW info);
BOOL ShellExecuteExA(SHELLEXECUTEINFOA* info);
DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds);
BOOL GetExitCodeProcess(HANDLE process, LPDWORD exitCode);
BOOL CloseHandle(HANDLE handle);
BOOL CreateProcessA(LPCSTR applicationName, LPSTR commandLine,
                    LPSECURITY_ATTRIBUTES processAttributes, LPSECURITY_ATTRIBUTES threadAttributes,
                    BOOL inheritHandles, DWORD creationFlags, LPVOID environment,
                    LPCSTR currentDirectory, LPSTARTUPINFOA startupInfo,
                    LPPROCESS_INFORMATION processInformation);
void GetLocalTime(LPSYSTEMTIME time);

}  // namespace sys
