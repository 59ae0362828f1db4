/* Test double for the programs that Dravik starts (the setup program and the
 * monitor). Beside its own executable <exe> it
 *   appends to <exe>.record what it was given: the raw command line, the
 *     argument count as CommandLineToArgvW splits it, the show state and the
 *     current folder;
 *   waits <exe>.sleep milliseconds, if that file exists, then appends
 *     "finished";
 *   exits with the number in <exe>.exitcode (decimal or 0x hex), or 0. */
#include <windows.h>
#include <shellapi.h>

#include <stdio.h>
#include <stdlib.h>

static char self[MAX_PATH + 16];

static FILE* openBeside(const char* suffix, const char* mode) {
    char path[MAX_PATH + 32];
    snprintf(path, sizeof path, "%s%s", self, suffix);
    return fopen(path, mode);
}

static unsigned long readNumber(const char* suffix, unsigned long fallback) {
    FILE* file = openBeside(suffix, "r");
    char text[64] = {0};
    if (file == NULL) {
        return fallback;
    }
    if (fgets(text, sizeof text, file) != NULL) {
        fallback = strtoul(text, NULL, 0);
    }
    fclose(file);
    return fallback;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show) {
    (void)instance;
    (void)previous;
    (void)commandLine;
    (void)show;
    if (GetModuleFileNameA(NULL, self, MAX_PATH) == 0) {
        return 99;
    }
    STARTUPINFOA startup;
    GetStartupInfoA(&startup);
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    LocalFree(argv);
    char folder[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, folder);

    FILE* record = openBeside(".record", "a");
    if (record != NULL) {
        fprintf(record, "cmdline=%s\nargc=%d\nshow=%d\ncwd=%s\n", GetCommandLineA(), argc,
                (startup.dwFlags & STARTF_USESHOWWINDOW) ? (int)startup.wShowWindow : -1, folder);
        fclose(record);
    }
    const unsigned long sleepMs = readNumber(".sleep", 0);
    if (sleepMs > 0) {
        Sleep(sleepMs);
        record = openBeside(".record", "a");
        if (record != NULL) {
            fputs("finished\n", record);
            fclose(record);
        }
    }
    return (int)readNumber(".exitcode", 0);
}
