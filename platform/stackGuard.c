// The word that -fstack-protector-strong checks on every protected return.
//
// It starts at the value that marks an unseeded security cookie: the load
// configuration of the shipped image points at this word, and Windows 8 and
// later replace that value with a random one while loading. Older systems
// leave it alone, so it is seeded here before any protected frame of ours
// exists (the C run time's start-up is not built with the stack protector).
#include <stdint.h>
#include <windows.h>

#ifdef _WIN64
#define UNSEEDED_COOKIE ((uintptr_t)0x00002B992DDFA232ull)
#else
#define UNSEEDED_COOKIE ((uintptr_t)0xBB40E64Eu)
#endif

uintptr_t __stack_chk_guard = UNSEEDED_COOKIE;

// Priority 101 runs before every C++ static constructor, which may be
// protected. The function itself must not be: it changes the word its own
// epilogue would compare.
__attribute__((constructor(101), no_stack_protector)) static void seedStackGuard(void) {
    if (__stack_chk_guard != UNSEEDED_COOKIE) {
        return;
    }
    FILETIME now;
    LARGE_INTEGER counter;
    GetSystemTimeAsFileTime(&now);
    QueryPerformanceCounter(&counter);
    uintptr_t cookie = (uintptr_t)now.dwLowDateTime ^ (uintptr_t)now.dwHighDateTime;
    cookie ^= (uintptr_t)GetCurrentProcessId() ^ (uintptr_t)GetCurrentThreadId();
    cookie ^= (uintptr_t)GetTickCount() ^ (uintptr_t)counter.LowPart ^ (uintptr_t)counter.HighPart;
    cookie ^= (uintptr_t)&cookie;
    if (cookie == UNSEEDED_COOKIE || cookie == 0) {
        cookie = UNSEEDED_COOKIE + 1;
    }
    __stack_chk_guard = cookie;
}
