#include "launch/Launch.h"

#include "tests/support/ChainTest.h"

#include <cstring>
#include <string>
#include <vector>

namespace dravik {
namespace {

using testing_support::ChainTest;
using testing_support::handleOf;
using testing_support::LogCapture;

#if defined(__i386__)
static_assert(sizeof(STARTUPINFOA) == 68, "the 32-bit start-up record");
#endif

// What CreateProcessA was handed, copied while the call ran.
struct ProcessStart {
    bool applicationNameNull;
    char* commandLinePointer;
    std::string commandLine;
    bool attributesNull;
    BOOL inheritHandles;
    DWORD flags;
    bool environmentNull;
    bool directoryNull;
    STARTUPINFOA startup;
};

class MonitorLaunchTest : public ChainTest {
protected:
    void SetUp() override {
        ChainTest::SetUp();
        system().CreateProcessA = [this](LPCSTR application, LPSTR commandLine,
                                         LPSECURITY_ATTRIBUTES processAttributes,
                                         LPSECURITY_ATTRIBUTES threadAttributes, BOOL inherit,
                                         DWORD flags, LPVOID environment, LPCSTR directory,
                                         LPSTARTUPINFOA startup, LPPROCESS_INFORMATION process) {
            starts.push_back({application == nullptr, commandLine, commandLine,
                              processAttributes == nullptr && threadAttributes == nullptr, inherit,
                              flags, environment == nullptr, directory == nullptr, *startup});
            process->hProcess = handleOf(0x51);
            process->hThread = handleOf(0x52);
            return createResult;
        };
        system().CloseHandle = [this](HANDLE handle) {
            closed.push_back(handle);
            return TRUE;
        };
    }

    BOOL createResult = TRUE;
    std::vector<ProcessStart> starts;
    std::vector<HANDLE> closed;
};

TEST_F(MonitorLaunchTest, RunProgramStartsTheCommandLineAsIsAndReleasesBothHandles) {
    char commandLine[] = "\"C:\\Apps\\System\\Quillet.exe\" lauch";
    EXPECT_TRUE(runProgram(commandLine));
    ASSERT_EQ(starts.size(), 1u);
    const ProcessStart& s = starts[0];
    EXPECT_TRUE(s.applicationNameNull);
    EXPECT_EQ(s.commandLinePointer, commandLine);
    EXPECT_EQ(s.commandLine, "\"C:\\Apps\\System\\Quillet.exe\" lauch");
    EXPECT_TRUE(s.attributesNull);
    EXPECT_EQ(s.inheritHandles, FALSE);
    EXPECT_EQ(s.flags, 0u);
    EXPECT_TRUE(s.environmentNull);
    EXPECT_TRUE(s.directoryNull);
    EXPECT_EQ(s.startup.cb, sizeof(STARTUPINFOA));
    EXPECT_EQ(s.startup.dwFlags, 0u);
    EXPECT_EQ(s.startup.lpDesktop, nullptr);
    EXPECT_EQ(s.startup.hStdOutput, nullptr);
    const std::vector<HANDLE> processThenThread = {handleOf(0x51), handleOf(0x52)};
    EXPECT_EQ(closed, processThenThread);
}

TEST_F(MonitorLaunchTest, RunProgramCountsOnlyTrueAsStarted) {
    for (const BOOL result : {FALSE, 2}) {
        SCOPED_TRACE(result);
        createResult = result;
        closed.clear();
        char commandLine[] = "\"C:\\missing.exe\"";
        EXPECT_FALSE(runProgram(commandLine));
        EXPECT_TRUE(closed.empty());
    }
}

TEST_F(MonitorLaunchTest, CommandLineIsTheQuotedPathAndTheArgumentUnchanged) {
    writeRecord("C:\\Program Files\\Product");
    const std::string quoted = "\"C:\\Program Files\\Product\\System\\Quillet.exe\"";
    const struct {
        const char* argument;
        std::string commandLine;
    } cases[] = {
        {"lauch", quoted + " lauch"},
        {"", quoted},
        {"two  words \"q\"", quoted + " two  words \"q\""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.argument);
        starts.clear();
        LogCapture log;
        EXPECT_TRUE(startMonitor(c.argument));
        ASSERT_EQ(starts.size(), 1u);
        EXPECT_EQ(starts[0].commandLine, c.commandLine);
        const std::vector<std::string> expectedTail = {"[Dravik] Command line: " + c.commandLine,
                                                       "[Dravik] Leave startMonitor()"};
        const std::vector<std::string> messages = log.messages();
        ASSERT_GE(messages.size(), 2u);
        EXPECT_EQ(std::vector<std::string>(messages.end() - 2, messages.end()), expectedTail);
    }
}

TEST_F(MonitorLaunchTest, RefusedStartIsLoggedAndReported) {
    writeRecord("C:\\Product");
    createResult = FALSE;
    LogCapture log;
    EXPECT_FALSE(startMonitor("lauch"));
    const std::vector<std::string> expectedTail = {
        "[Dravik] Command line: \"C:\\Product\\System\\Quillet.exe\" lauch",
        "[Dravik] Failed to run the monitor!", "[Dravik] Leave startMonitor()"};
    const std::vector<std::string> messages = log.messages();
    ASSERT_GE(messages.size(), 3u);
    EXPECT_EQ(std::vector<std::string>(messages.end() - 3, messages.end()), expectedTail);
}

TEST_F(MonitorLaunchTest, MonitorPathOf251CharactersFitsTheCommandLine252DoesNot) {
    for (const std::size_t length : {std::size_t{251}, std::size_t{252}}) {
        SCOPED_TRACE(length);
        // The install folder, then "\System\Quillet.exe" (19 characters).
        const std::string install = "C:\\" + std::string(length - 19 - 3, 'i');
        writeRecord(install);
        starts.clear();
        LogCapture log;
        EXPECT_EQ(startMonitor("lauch"), length == 251);
        const std::vector<std::string> messages = log.messages();
        ASSERT_GE(messages.size(), 2u);
        if (length == 251) {
            ASSERT_EQ(starts.size(), 1u);
            EXPECT_EQ(starts[0].commandLine.size(), 259u);
        } else {
            EXPECT_TRUE(starts.empty());
            const std::vector<std::string> expectedTail = {
                "[Dravik] Monitor path: " + install + "\\System\\Quillet.exe",
                "[Dravik] Leave getMonitorAppPath()", "[Dravik] Failed to run the monitor!",
                "[Dravik] Leave startMonitor()"};
            ASSERT_GE(messages.size(), 4u);
            EXPECT_EQ(std::vector<std::string>(messages.end() - 4, messages.end()), expectedTail);
        }
    }
}

TEST_F(MonitorLaunchTest, NoMonitorPathStartsNothing) {
    system().SHGetFolderPathA = [](HWND, int, HANDLE, DWORD, LPSTR) { return E_FAIL; };
    LogCapture log;
    EXPECT_FALSE(startMonitor("lauch"));
    EXPECT_TRUE(starts.empty());
    const std::vector<std::string> messages = log.messages();
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.back(), "[Dravik] Failed to get the path of the monitor!");
}

}  // namespace
}  // namespace dravik
