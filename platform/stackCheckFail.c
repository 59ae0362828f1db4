// Called by -fstack-protector-strong code when a frame's cookie was
// overwritten. Nothing of the process can be trusted any more, so it ends at
// once: no handler, exit list or DLL notification runs.
#include <windows.h>

#define STACK_BUFFER_OVERRUN 0xC0000409u

__attribute__((noreturn)) void __stack_chk_fail(void) {
    // Windows 8 and later: the kernel ends the process and reports the
    // overrun without consulting any exception handler.
    if (IsProcessorFeaturePresent(PF_FASTFAIL_AVAILABLE)) {
        __asm__ volatile("int $0x29" : : "c"(FAST_FAIL_STACK_COOKIE_CHECK_FAILURE) : "memory");
    }
    // Before that, int 0x29 would only raise an access violation.
    TerminateProcess(GetCurrentProcess(), STACK_BUFFER_OVERRUN);
    for (;;) {
        Sleep(INFINITE);
    }
}
