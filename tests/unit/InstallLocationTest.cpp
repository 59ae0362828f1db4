#include "config/InstallLocation.h"

#include "tests/support/ChainTest.h"

#include <filesystem>
#include <string>
#include <vector>

namespace dravik {
namespace {

using testing_support::ChainTest;
using testing_support::LogCapture;

using InstallLocationTest = ChainTest;

std::vector<std::string> tail(const std::vector<std::string>& all, std::size_t n) {
    return std::vector<std::string>(
        all.end() - static_cast<std::ptrdiff_t>(std::min(n, all.size())), all.end());
}

TEST_F(InstallLocationTest, CommonCfgIsReadOncePerKeyAroundTheRecordFile) {
    writeRecord("C:\\Product");
    PathBuffer out;
    EXPECT_TRUE(getMonitorAppPath(out));
    EXPECT_STREQ(out.get(), "C:\\Product\\System\\Quillet.exe");
    const std::vector<std::string> expected = {commonCfgPath() + "|r", recordPath() + "|r",
                                               recordPath() + "|rb", commonCfgPath() + "|r"};
    EXPECT_EQ(opened, expected);
}

TEST_F(InstallLocationTest, NoCommonAppDataFolderFailsEveryLevelWithoutReadingAnyFile) {
    system().SHGetFolderPathA = [](HWND, int, HANDLE, DWORD, LPSTR) { return E_FAIL; };
    LogCapture log;
    PathBuffer out;
    out.assign("untouched");
    EXPECT_FALSE(getMonitorAppPath(out));
    EXPECT_STREQ(out.get(), "untouched");
    const std::vector<std::string> expected = {
        "[Dravik] Enter getMonitorAppPath()",
        "[Dravik] Enter getSystemPath()",
        "[Dravik] Enter getInstallPath()",
        "[Dravik] Enter getInstallPathRecordFilePath()",
        "[Dravik] Failed to get common application data path!",
        "[Dravik] Failed to get the install path record file path!",
        "[Dravik] Failed to get install path!",
        "[Dravik] Failed to get system path!",
    };
    EXPECT_EQ(log.messages(), expected);
    EXPECT_TRUE(opened.empty());
}

TEST_F(InstallLocationTest, RecordFilePathUpTo259CharactersIsJoinedLongerIsRefused) {
    const std::string base = appData.path().string() + "\\";
    for (const std::size_t length : {std::size_t{215}, std::size_t{216}}) {
        SCOPED_TRACE(length);
        const std::string folder = base + std::string(length - base.size(), 'c');
        const std::string record = folder + "\\Pelmo\\RQ\\InstallPath\\RQInstallationPath.xml";
        if (length == 215) {
            ASSERT_EQ(record.size(), 259u);
            std::filesystem::create_directories(folder + "\\Pelmo\\RQ\\InstallPath");
            appData.write(
                folder.substr(base.size()) + "/Pelmo/RQ/InstallPath/RQInstallationPath.xml",
                "<RQInstallationPath>C:\\P</RQInstallationPath>");
        }
        answerFolderPath(folder);
        opened.clear();
        LogCapture log;
        PathBuffer out;
        EXPECT_EQ(getInstallPathRecordFilePath(out), length == 215);
        const std::vector<std::string> fits = {"[Dravik] Install path record file path: " + record,
                                               "[Dravik] Leave getInstallPathRecordFilePath()"};
        const std::vector<std::string> refused = {
            "[Dravik] Install path record file relative path: "
            "Pelmo\\RQ\\InstallPath\\RQInstallationPath.xml",
            "[Dravik] Leave getInstallPathRecordFileRelativePath()",
            "[Dravik] Failed to find the install path record file!",
            "[Dravik] Leave getInstallPathRecordFilePath()"};
        if (length == 215) {
            EXPECT_EQ(tail(log.messages(), 2), fits);
            EXPECT_EQ(std::string(out.get()), record);
        } else {
            EXPECT_EQ(tail(log.messages(), 4), refused);
            // Only Common.cfg was looked for: the cut path was never opened.
            EXPECT_EQ(opened, std::vector<std::string>{commonCfgPath() + "|r"});
        }
    }
}

TEST_F(InstallLocationTest, SystemPathMustFitItsBuffer) {
    const struct {
        const char* name;
        std::string install;  // as written in the record file
        bool found;
        std::string systemPath;
        std::vector<std::string> lastMessages;
    } cases[] = {
        {"252 characters: fits exactly",
         std::string(252, 'i'),
         true,
         std::string(252, 'i') + "\\System",
         {"[Dravik] System path: " + std::string(252, 'i') + "\\System",
          "[Dravik] Leave getSystemPath()"}},
        {"253 characters ending in a backslash: fits exactly",
         std::string(252, 'i') + "\\",
         true,
         std::string(252, 'i') + "\\System",
         {"[Dravik] System path: " + std::string(252, 'i') + "\\System",
          "[Dravik] Leave getSystemPath()"}},
        {"253 characters: refused",
         std::string(253, 'i'),
         false,
         "untouched",
         {"[Dravik] Install path: " + std::string(253, 'i'), "[Dravik] Leave getInstallPath()",
          "[Dravik] Failed to get install path!"}},
        {"empty CDATA: no folder, nothing relative",
         "<![CDATA[]]>",
         false,
         "untouched",
         {"[Dravik] Failed to get the value of RQInstallationPath!",
          "[Dravik] Leave getInstallPath()", "[Dravik] Failed to get install path!"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        writeRecord(c.install);
        LogCapture log;
        PathBuffer out;
        out.assign("untouched");
        EXPECT_EQ(getSystemPath(out), c.found);
        EXPECT_EQ(std::string(out.get()), c.systemPath);
        EXPECT_EQ(tail(log.messages(), c.lastMessages.size()), c.lastMessages);
    }
}

TEST_F(InstallLocationTest, ConfiguredMonitorNameUpTo255CharactersIsUsedLongerFallsBack) {
    const struct {
        std::size_t length;
        std::string name;
        bool configured;
    } cases[] = {
        {255, std::string(255, 'm') + ".exe", true},
        {256, "Quillet.exe", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.length);
        writeCommonCfg("<MonitorName>" + std::string(c.length, 'm') + "</MonitorName>");
        LogCapture log;
        PathBuffer out;
        getMonitorAppName(out);
        EXPECT_EQ(std::string(out.get()), c.name);
        const std::vector<std::string> messages = log.messages();
        ASSERT_GE(messages.size(), 2u);
        EXPECT_EQ(messages[1] == "[Dravik] Use default monitor base name.", !c.configured);
    }
}

}  // namespace
}  // namespace dravik
