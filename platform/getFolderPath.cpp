#include "platform/PathQueries.h"
#include "platform/Win32Api.h"

namespace dravik {

namespace {

constexpr DWORD kTokenAccess = TOKEN_ASSIGN_PRIMARY | TOKEN_DUPLICATE | TOKEN_QUERY;

// The calling thread's token, or the process's when the thread has none.
bool openCallerToken(HANDLE& token) {
    if (sys::OpenThreadToken(sys::GetCurrentThread(), kTokenAccess, TRUE, &token)) {
        return true;
    }
    if (sys::GetLastError() != ERROR_NO_TOKEN) {
        return false;
    }
    return sys::OpenProcessToken(sys::GetCurrentProcess(), kTokenAccess, &token) != FALSE;
}

}  // namespace

bool getFolderPath(int csidl, PathBuffer& out) {
    HANDLE token = nullptr;
    if (!openCallerToken(token)) {
        return false;
    }
    HANDLE impersonation = nullptr;
    if (!sys::DuplicateTokenEx(token, MAXIMUM_ALLOWED, nullptr, SecurityImpersonation,
                               TokenImpersonation, &impersonation)) {
        sys::CloseHandle(token);
        return false;
    }
    const HRESULT result =
        sys::SHGetFolderPathA(nullptr, csidl, impersonation, SHGFP_TYPE_CURRENT, out.data());
    sys::CloseHandle(impersonation);
    sys::CloseHandle(token);
    // S_FALSE (a folder that does not exist yet) still names the folder.
    return result >= 0 && out.isTerminated();
}

}  // namespace dravik
