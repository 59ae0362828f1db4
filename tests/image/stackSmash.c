// Overruns a stack buffer on request, to show how the process ends.
//   stackSmash.exe          runs "calm" and "smash" as child processes and
//                           prints each one's full exit code
//   stackSmash.exe calm     copies a short text into the buffer
//   stackSmash.exe smash    copies a text four times too long into it
// The parent exists because Wine hands only 8 bits of an exit code to the
// shell.
#include <stdio.h>
#include <string.h>
#include <windows.h>

__attribute__((noinline)) static void copyInto(const char* text, size_t length) {
    char buffer[16];
    memcpy(buffer, text, length);
    // Keeps the copy from being optimised away.
    __asm__ volatile("" : : "r"(buffer) : "memory");
}

static int child(const char* mode) {
    static const char text[64] = "0123456789abcdef0123456789abcdef0123456789abcdef012345678";
    volatile size_t length = strcmp(mode, "smash") == 0 ? sizeof text : 8;
    copyInto(text, length);
    return 0;
}

static int run(const char* self, const char* mode) {
    char commandLine[MAX_PATH + 16];
    snprintf(commandLine, sizeof commandLine, "\"%s\" %s", self, mode);
    STARTUPINFOA startup = {.cb = sizeof startup};
    PROCESS_INFORMATION process;
    if (!CreateProcessA(NULL, commandLine, NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process)) {
        printf("%s start failed %lu\n", mode, GetLastError());
        return 1;
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    printf("%s 0x%08lX\n", mode, (unsigned long)code);
    return 0;
}

int main(int argc, char** argv) {
    if (argc == 2) {
        return child(argv[1]);
    }
    char self[MAX_PATH];
    GetModuleFileNameA(NULL, self, MAX_PATH);
    int failed = run(self, "calm") | run(self, "smash");
    fflush(stdout);
    return failed;
}
