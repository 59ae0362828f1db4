#include "launch/Launch.h"

#include "launch/OsVersion.h"
#include "tests/support/SystemTest.h"

#include <cstring>
#include <string>
#include <vector>

namespace dravik {
namespace {

using testing_support::handleOf;
using testing_support::LogCapture;
using testing_support::SystemTest;

#if defined(__i386__)
static_assert(sizeof(SHELLEXECUTEINFOA) == 60, "the 32-bit request record");
#endif
static_assert(sizeof(OSVERSIONINFOW) == 276 && sizeof(OSVERSIONINFOEXW) == 284,
              "the two version records");

// What ShellExecuteExA was handed, copied while the call ran.
struct Request {
    SHELLEXECUTEINFOA record;
    std::string verb;
    std::string file;
    std::string parameters;
    bool directoryGiven;
    std::string directory;
};

class SetupLaunchTest : public SystemTest {
protected:
    // ShellExecuteExA records its request and answers started, with
    // process as the handle; the wait, the exit code and the closing are
    // recorded and answered from the members below.
    void answerShell(BOOL started, HANDLE process) {
        system().ShellExecuteExA = [this, started, process](SHELLEXECUTEINFOA* info) {
            Request r;
            r.record = *info;
            r.verb = info->lpVerb != nullptr ? info->lpVerb : "(null)";
            r.file = info->lpFile != nullptr ? info->lpFile : "(null)";
            r.parameters = info->lpParameters != nullptr ? info->lpParameters : "(null)";
            r.directoryGiven = info->lpDirectory != nullptr;
            r.directory = r.directoryGiven ? info->lpDirectory : "";
            requests.push_back(r);
            info->hProcess = process;
            return started;
        };
        system().WaitForSingleObject = [this](HANDLE handle, DWORD milliseconds) {
            waited.push_back(handle);
            timeoutSeen = milliseconds;
            return waitResult;
        };
        system().GetExitCodeProcess = [this](HANDLE handle, LPDWORD code) {
            exitCodeRead.push_back(handle);
            *code = exitCode;
            return exitCodeResult;
        };
        system().CloseHandle = [this](HANDLE handle) {
            closed.push_back(handle);
            return TRUE;
        };
    }

    // GetVersionExW records the size field of each request and answers.
    void answerVersion(std::vector<BOOL> results, DWORD platform, DWORD major) {
        system().GetVersionExW = [this, results, platform, major](LPOSVERSIONINFOW info) {
            const std::size_t call = versionSizes.size();
            versionSizes.push_back(info->dwOSVersionInfoSize);
            const BOOL result = call < results.size() ? results[call] : TRUE;
            if (result) {
                info->dwPlatformId = platform;
                info->dwMajorVersion = major;
            }
            return result;
        };
    }

    DWORD waitResult = WAIT_OBJECT_0;
    DWORD exitCode = 0;
    BOOL exitCodeResult = TRUE;

    std::vector<Request> requests;
    std::vector<HANDLE> waited;
    DWORD timeoutSeen = 0;
    std::vector<HANDLE> exitCodeRead;
    std::vector<HANDLE> closed;
    std::vector<DWORD> versionSizes;
};

TEST_F(SetupLaunchTest, RequestRecordAndHandleLifecycle) {
    answerShell(TRUE, handleOf(0x99));
    exitCode = 7;
    EXPECT_EQ(shellExecuteAndWait("\"C:\\Apps\\Tolmer.exe\"", ""), 7);

    ASSERT_EQ(requests.size(), 1u);
    const Request& r = requests[0];
    EXPECT_EQ(r.record.cbSize, sizeof(SHELLEXECUTEINFOA));
    EXPECT_EQ(r.record.fMask, 0x40u);
    EXPECT_EQ(r.record.hwnd, nullptr);
    EXPECT_EQ(r.file, "\"C:\\Apps\\Tolmer.exe\"");
    EXPECT_EQ(r.parameters, "");
    EXPECT_TRUE(r.directoryGiven);
    EXPECT_EQ(r.directory, "");
    EXPECT_EQ(r.record.nShow, SW_HIDE);
    EXPECT_EQ(r.record.hProcess, nullptr);
    EXPECT_EQ(r.record.lpIDList, nullptr);
    EXPECT_EQ(r.record.lpClass, nullptr);
    EXPECT_EQ(r.record.hkeyClass, nullptr);
    EXPECT_EQ(r.record.dwHotKey, 0u);

    EXPECT_EQ(waited, std::vector<HANDLE>{handleOf(0x99)});
    EXPECT_EQ(timeoutSeen, INFINITE);
    EXPECT_EQ(exitCodeRead, std::vector<HANDLE>{handleOf(0x99)});
    EXPECT_EQ(closed, std::vector<HANDLE>{handleOf(0x99)});
}

TEST_F(SetupLaunchTest, FailuresOfStartWaitAndExitCode) {
    const HANDLE process = handleOf(0x99);
    const struct {
        const char* name;
        BOOL started;
        DWORD wait;
        BOOL exitCodeRead;
        DWORD exitCode;
        int result;
        bool closes;
    } cases[] = {
        {"shell refused", FALSE, WAIT_OBJECT_0, TRUE, 0, -1, false},
        {"wait failed", TRUE, WAIT_FAILED, TRUE, 0, -2, true},
        {"wait timed out", TRUE, WAIT_TIMEOUT, TRUE, 0, -2, true},
        {"abandoned wait is accepted", TRUE, WAIT_ABANDONED, TRUE, 5, 5, true},
        {"exit code unreadable", TRUE, WAIT_OBJECT_0, FALSE, 0, -3, true},
        {"exit code 0xFFFFFFFF reads as -1", TRUE, WAIT_OBJECT_0, TRUE, 0xFFFFFFFFu, -1, true},
        {"exit code 0", TRUE, WAIT_OBJECT_0, TRUE, 0, 0, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        closed.clear();
        answerShell(c.started, process);
        waitResult = c.wait;
        exitCodeResult = c.exitCodeRead;
        exitCode = c.exitCode;
        EXPECT_EQ(shellExecuteAndWait("\"C:\\Tolmer.exe\"", ""), c.result);
        EXPECT_EQ(closed, c.closes ? std::vector<HANDLE>{process} : std::vector<HANDLE>{});
    }
}

TEST_F(SetupLaunchTest, StartedWithoutProcessHandleIsAFailedWaitAndNothingIsClosed) {
    answerShell(TRUE, nullptr);
    // The real wait, which fails on a null handle.
    system().WaitForSingleObject = [this](HANDLE handle, DWORD milliseconds) {
        waited.push_back(handle);
        return ::WaitForSingleObject(handle, milliseconds);
    };
    EXPECT_EQ(shellExecuteAndWait("\"C:\\Tolmer.exe\"", ""), -2);
    EXPECT_EQ(waited, std::vector<HANDLE>{nullptr});
    EXPECT_TRUE(exitCodeRead.empty());
    EXPECT_TRUE(closed.empty());
}

TEST_F(SetupLaunchTest, VerbFollowsTheVersionAnswer) {
    const struct {
        const char* name;
        std::vector<BOOL> results;
        DWORD platform;
        DWORD major;
        const char* verb;
        std::vector<DWORD> sizes;
    } cases[] = {
        {"NT 6", {TRUE, TRUE}, VER_PLATFORM_WIN32_NT, 6, "runas", {276, 284}},
        {"NT 10", {TRUE, TRUE}, VER_PLATFORM_WIN32_NT, 10, "runas", {276, 284}},
        {"NT 5", {TRUE, TRUE}, VER_PLATFORM_WIN32_NT, 5, "open", {276, 284}},
        {"NT 4", {TRUE}, VER_PLATFORM_WIN32_NT, 4, "open", {276}},
        {"not NT, major 6", {TRUE}, VER_PLATFORM_WIN32_WINDOWS, 6, "open", {276}},
        {"first request failed", {FALSE}, VER_PLATFORM_WIN32_NT, 6, "open", {276}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        OsVersion::resetForTesting();
        versionSizes.clear();
        requests.clear();
        answerVersion(c.results, c.platform, c.major);
        answerShell(FALSE, nullptr);
        EXPECT_EQ(shellExecuteAndWait("f", ""), -1);
        ASSERT_EQ(requests.size(), 1u);
        EXPECT_EQ(requests[0].verb, c.verb);
        EXPECT_EQ(versionSizes, c.sizes);
    }
}

TEST_F(SetupLaunchTest, VersionIsRequestedAgainOnlyWhileNoRequestHasSucceeded) {
    answerShell(FALSE, nullptr);
    answerVersion({FALSE, TRUE, TRUE}, VER_PLATFORM_WIN32_NT, 6);
    shellExecuteAndWait("f", "");
    shellExecuteAndWait("f", "");
    shellExecuteAndWait("f", "");
    const std::vector<DWORD> sizes = {276, 276, 284};
    EXPECT_EQ(versionSizes, sizes);
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[0].verb, "open");
    EXPECT_EQ(requests[1].verb, "runas");
    EXPECT_EQ(requests[2].verb, "runas");
}

class StartTolmerTest : public SetupLaunchTest {
protected:
    std::vector<std::string> run(bool expected) {
        LogCapture log;
        EXPECT_EQ(startTolmer(), expected);
        return log.messages();
    }
};

TEST_F(StartTolmerTest, FolderOf246CharactersFitsTheQuotedPath) {
    const std::string folder = "C:\\" + std::string(243, 'f');  // 246
    answerModulePath(folder + "\\Dravik.exe");
    answerShell(TRUE, handleOf(0x99));
    const std::string quoted = "\"" + folder + "\\Tolmer.exe\"";  // 259
    ASSERT_EQ(quoted.size(), 259u);
    const std::vector<std::string> expected = {"[Dravik] Enter startTolmer()",
                                               "[Dravik] Tolmer path: " + quoted,
                                               "[Dravik] Leave startTolmer()"};
    EXPECT_EQ(run(true), expected);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].file, quoted);
    EXPECT_EQ(requests[0].parameters, "");
}

TEST_F(StartTolmerTest, FolderOf247CharactersIsRefusedAndNothingStarts) {
    answerModulePath("C:\\" + std::string(244, 'f') + "\\Dravik.exe");
    answerShell(TRUE, handleOf(0x99));
    const std::vector<std::string> expected = {"[Dravik] Enter startTolmer()",
                                               "[Dravik] Failed to get the path of Tolmer!"};
    EXPECT_EQ(run(false), expected);
    EXPECT_TRUE(requests.empty());
}

TEST_F(StartTolmerTest, NoModuleFolderIsRefusedAndNothingStarts) {
    system().GetModuleFileNameA = [](HMODULE, LPSTR, DWORD) { return DWORD{0}; };
    answerShell(TRUE, handleOf(0x99));
    const std::vector<std::string> expected = {"[Dravik] Enter startTolmer()",
                                               "[Dravik] Failed to get the path of Tolmer!"};
    EXPECT_EQ(run(false), expected);
    EXPECT_TRUE(requests.empty());
}

TEST_F(StartTolmerTest, DriveRootFolderGivesOneBackslash) {
    answerModulePath("C:\\Dravik.exe");
    answerShell(TRUE, handleOf(0x99));
    run(true);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].file, "\"C:\\Tolmer.exe\"");
}

TEST_F(StartTolmerTest, DeclinedElevationAndNonZeroExitCodesFail) {
    answerModulePath("C:\\App\\Dravik.exe");
    const std::vector<std::string> expected = {
        "[Dravik] Enter startTolmer()", "[Dravik] Tolmer path: \"C:\\App\\Tolmer.exe\"",
        "[Dravik] Failed to run Tolmer!", "[Dravik] Leave startTolmer()"};

    // The shell reports a declined prompt as a failed start.
    answerShell(FALSE, nullptr);
    const auto declined = system().ShellExecuteExA;
    system().ShellExecuteExA = [declined](SHELLEXECUTEINFOA* info) {
        ::SetLastError(ERROR_CANCELLED);
        return declined(info);
    };
    EXPECT_EQ(run(false), expected);
    EXPECT_TRUE(waited.empty());

    for (const DWORD code : {DWORD{1}, DWORD{0xFFFFFFFD}}) {
        SCOPED_TRACE(code);
        answerShell(TRUE, handleOf(0x99));
        exitCode = code;
        EXPECT_EQ(run(false), expected);
    }
}

}  // namespace
}  // namespace dravik
