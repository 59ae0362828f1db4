#include "platform/PathQueries.h"

#include "tests/support/SystemTest.h"
#include "tests/support/TempFolder.h"

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace dravik {
namespace {

using testing_support::handleOf;
using testing_support::SystemTest;
using testing_support::TempFolder;

using ModuleDirectoryTest = SystemTest;

TEST_F(ModuleDirectoryTest, AnswersOfTheModuleFileName) {
    const std::string path259 = "C:\\" + std::string(248, 'p') + "\\app.exe";  // 259
    const std::string path260 = "C:\\" + std::string(249, 'p') + "\\app.exe";  // 260
    const struct {
        const char* name;
        std::string written;  // bytes the call stores, without terminator
        bool terminated;
        DWORD result;
        bool found;
        std::string out;
    } cases[] = {
        {"normal path", "C:\\Program Files\\Product\\app.exe", true, 33, true,
         "C:\\Program Files\\Product"},
        {"drive root", "C:\\app.exe", true, 10, true, "C:"},
        {"longest path that fits", path259, true, 259, true, "C:\\" + std::string(248, 'p')},
        {"cut short: result equals the buffer size", path260, false, 260, false, "untouched"},
        {"call failed", "", true, 0, false, "untouched"},
        {"no backslash", "app.exe", true, 7, false, "untouched"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        HMODULE moduleSeen = reinterpret_cast<HMODULE>(1);
        DWORD sizeSeen = 0;
        system().GetModuleFileNameA = [&](HMODULE module, LPSTR buffer, DWORD size) {
            moduleSeen = module;
            sizeSeen = size;
            std::memcpy(buffer, c.written.data(), c.written.size());
            if (c.terminated) {
                buffer[c.written.size()] = '\0';
            }
            return c.result;
        };
        PathBuffer out;
        out.assign("untouched");
        EXPECT_EQ(getModuleDirectory(out), c.found);
        EXPECT_EQ(std::string(out.get()), c.out);
        EXPECT_EQ(moduleSeen, nullptr);
        EXPECT_EQ(sizeSeen, 260u);
    }
}

using TempDirectoryTest = SystemTest;

TEST_F(TempDirectoryTest, ResultsOutsideOneTo259GiveTheFallbackFolder) {
    const std::string folder259 = "C:\\" + std::string(255, 't') + "\\";  // 259
    const struct {
        DWORD result;
        std::string written;  // stored without terminator when 260 long
        std::string out;
    } cases[] = {
        {16, "C:\\users\\x\\Temp\\", "C:\\users\\x\\Temp\\"},
        {259, folder259, folder259},
        {260, std::string(260, 'w'), "C:\\temp"},
        {261, "", "C:\\temp"},
        {0, "", "C:\\temp"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.result);
        DWORD lengthSeen = 0;
        system().GetTempPathA = [&](DWORD length, LPSTR buffer) {
            lengthSeen = length;
            std::memcpy(buffer, c.written.data(), c.written.size());
            if (c.written.size() < length) {
                buffer[c.written.size()] = '\0';
            }
            return c.result;
        };
        PathBuffer out;
        out.assign("untouched");
        getTempDirectory(out);
        EXPECT_EQ(std::string(out.get()), c.out);
        EXPECT_EQ(lengthSeen, 260u);
    }
}

// Records the token calls and answers each as the test sets.
class FolderPathTest : public SystemTest {
protected:
    void SetUp() override {
        SystemTest::SetUp();
        system().GetCurrentThread = [] { return handleOf(0x66); };
        system().GetCurrentProcess = [] { return handleOf(0x77); };
        system().OpenThreadToken = [this](HANDLE thread, DWORD access, BOOL openAsSelf,
                                          PHANDLE token) {
            calls.push_back("OpenThreadToken");
            threadSeen = thread;
            threadAccess = access;
            openAsSelfSeen = openAsSelf;
            *token = handleOf(0x11);
            return threadTokenResult;
        };
        system().GetLastError = [this] { return lastError; };
        system().OpenProcessToken = [this](HANDLE process, DWORD access, PHANDLE token) {
            calls.push_back("OpenProcessToken");
            processSeen = process;
            processAccess = access;
            *token = handleOf(0x22);
            return processTokenResult;
        };
        system().DuplicateTokenEx =
            [this](HANDLE token, DWORD access, LPSECURITY_ATTRIBUTES attributes,
                   SECURITY_IMPERSONATION_LEVEL level, TOKEN_TYPE type, PHANDLE newToken) {
                calls.push_back("DuplicateTokenEx");
                duplicatedToken = token;
                duplicateAccess = access;
                duplicateAttributes = attributes;
                duplicateLevel = level;
                duplicateType = type;
                *newToken = handleOf(0x33);
                return duplicateResult;
            };
        system().SHGetFolderPathA = [this](HWND owner, int csidl, HANDLE token, DWORD flags,
                                           LPSTR path) {
            calls.push_back("SHGetFolderPathA");
            ownerSeen = owner;
            csidlSeen = csidl;
            shellToken = token;
            flagsSeen = flags;
            std::strcpy(path, "C:\\ProgramData");
            return folderResult;
        };
        system().CloseHandle = [this](HANDLE handle) {
            calls.push_back("CloseHandle " +
                            std::to_string(reinterpret_cast<std::uintptr_t>(handle)));
            return TRUE;
        };
    }

    BOOL threadTokenResult = TRUE;
    DWORD lastError = ERROR_SUCCESS;
    BOOL processTokenResult = TRUE;
    BOOL duplicateResult = TRUE;
    HRESULT folderResult = S_OK;

    std::vector<std::string> calls;
    HANDLE threadSeen = nullptr;
    DWORD threadAccess = 0;
    BOOL openAsSelfSeen = FALSE;
    HANDLE processSeen = nullptr;
    DWORD processAccess = 0;
    HANDLE duplicatedToken = nullptr;
    DWORD duplicateAccess = 0;
    LPSECURITY_ATTRIBUTES duplicateAttributes = reinterpret_cast<LPSECURITY_ATTRIBUTES>(1);
    SECURITY_IMPERSONATION_LEVEL duplicateLevel = SecurityAnonymous;
    TOKEN_TYPE duplicateType = TokenPrimary;
    HWND ownerSeen = reinterpret_cast<HWND>(1);
    int csidlSeen = 0;
    HANDLE shellToken = nullptr;
    DWORD flagsSeen = 0xFFFF;
};

TEST_F(FolderPathTest, ThreadTokenIsDuplicatedForTheShellWithTheExactArguments) {
    PathBuffer out;
    EXPECT_TRUE(getCommonAppDataPath(out));
    EXPECT_STREQ(out.get(), "C:\\ProgramData");

    EXPECT_EQ(threadSeen, handleOf(0x66));
    EXPECT_EQ(threadAccess, 0x000Bu);
    EXPECT_EQ(openAsSelfSeen, TRUE);
    EXPECT_EQ(duplicatedToken, handleOf(0x11));
    EXPECT_EQ(duplicateAccess, static_cast<DWORD>(MAXIMUM_ALLOWED));
    EXPECT_EQ(duplicateAttributes, nullptr);
    EXPECT_EQ(duplicateLevel, SecurityImpersonation);
    EXPECT_EQ(duplicateType, TokenImpersonation);
    EXPECT_EQ(ownerSeen, nullptr);
    EXPECT_EQ(csidlSeen, 0x23);
    EXPECT_EQ(shellToken, handleOf(0x33));
    EXPECT_EQ(flagsSeen, 0u);
    // Both tokens are released, only after the shell has answered.
    const std::vector<std::string> expected = {"OpenThreadToken", "DuplicateTokenEx",
                                               "SHGetFolderPathA", "CloseHandle 51",
                                               "CloseHandle 17"};
    EXPECT_EQ(calls, expected);
}

TEST_F(FolderPathTest, ThreadWithoutTokenFallsBackToTheProcessToken) {
    threadTokenResult = FALSE;
    lastError = ERROR_NO_TOKEN;
    PathBuffer out;
    EXPECT_TRUE(getFolderPath(0x23, out));
    EXPECT_EQ(processSeen, handleOf(0x77));
    EXPECT_EQ(processAccess, 0x000Bu);
    EXPECT_EQ(duplicatedToken, handleOf(0x22));
    const std::vector<std::string> expected = {"OpenThreadToken",  "OpenProcessToken",
                                               "DuplicateTokenEx", "SHGetFolderPathA",
                                               "CloseHandle 51",   "CloseHandle 34"};
    EXPECT_EQ(calls, expected);
}

TEST_F(FolderPathTest, OtherThreadTokenErrorFailsWithoutTryingTheProcessToken) {
    threadTokenResult = FALSE;
    lastError = ERROR_ACCESS_DENIED;
    PathBuffer out;
    EXPECT_FALSE(getFolderPath(0x23, out));
    EXPECT_EQ(calls, std::vector<std::string>{"OpenThreadToken"});
}

TEST_F(FolderPathTest, ProcessTokenFailureFails) {
    threadTokenResult = FALSE;
    lastError = ERROR_NO_TOKEN;
    processTokenResult = FALSE;
    PathBuffer out;
    EXPECT_FALSE(getFolderPath(0x23, out));
    const std::vector<std::string> expected = {"OpenThreadToken", "OpenProcessToken"};
    EXPECT_EQ(calls, expected);
}

TEST_F(FolderPathTest, DuplicationFailureFailsBeforeTheShellAndReleasesTheToken) {
    duplicateResult = FALSE;
    PathBuffer out;
    EXPECT_FALSE(getFolderPath(0x23, out));
    const std::vector<std::string> expected = {"OpenThreadToken", "DuplicateTokenEx",
                                               "CloseHandle 17"};
    EXPECT_EQ(calls, expected);
}

TEST_F(FolderPathTest, NonNegativeShellResultsSucceed) {
    const struct {
        HRESULT result;
        bool found;
    } cases[] = {{S_OK, true}, {S_FALSE, true}, {E_FAIL, false}, {E_INVALIDARG, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.result);
        folderResult = c.result;
        PathBuffer out;
        EXPECT_EQ(getFolderPath(0x23, out), c.found);
    }
}

using FileExistsTest = SystemTest;

TEST_F(FileExistsTest, OnlyAFileThatOpensForReadingCounts) {
    TempFolder folder;
    const std::string emptyFile = folder.write("empty.txt", "");
    const std::string subFolder = folder.pathOf("sub");
    std::filesystem::create_directory(subFolder);
    std::vector<std::string> opened;
    recordFopen(opened);

    EXPECT_TRUE(fileExists(emptyFile.c_str()));
    EXPECT_FALSE(fileExists(subFolder.c_str()));
    EXPECT_FALSE(fileExists(folder.pathOf("missing.txt").c_str()));

    const std::vector<std::string> expected = {emptyFile + "|r", subFolder + "|r",
                                               folder.pathOf("missing.txt") + "|r"};
    EXPECT_EQ(opened, expected);
    // Nothing on disk changed.
    EXPECT_EQ(std::filesystem::file_size(emptyFile), 0u);
    EXPECT_TRUE(std::filesystem::is_directory(subFolder));
    EXPECT_FALSE(std::filesystem::exists(folder.pathOf("missing.txt")));
}

}  // namespace
}  // namespace dravik
