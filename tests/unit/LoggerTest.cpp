#include "log/Logger.h"

#include "tests/support/SystemTest.h"
#include "tests/support/TempFolder.h"

#include <cstring>
#include <filesystem>
#include <string>

namespace dravik {
namespace {

using testing_support::LogCapture;
using testing_support::SystemTest;
using testing_support::TempFolder;

using LoggerTest = SystemTest;

TEST_F(LoggerTest, TempFolderOf247CharactersGetsTheLog248GetsNothing) {
    TempFolder temp;
    const std::string base = temp.path().string() + "\\";
    for (const std::size_t length : {std::size_t{247}, std::size_t{248}}) {
        SCOPED_TRACE(length);
        // A real folder whose name with its backslash has exactly length characters.
        const std::string folder = base + std::string(length - base.size() - 1, 'l') + "\\";
        ASSERT_EQ(folder.size(), length);
        std::filesystem::create_directory(folder);
        system().GetTempPathA = [folder](DWORD, LPSTR buffer) {
            std::memcpy(buffer, folder.c_str(), folder.size() + 1);
            return static_cast<DWORD>(folder.size());
        };
        {
            Logger logger;
            logger.log("[Dravik] Own logger");
        }
        const std::string logFile = folder + "__dvklog.txt";
        if (length == 247) {
            ASSERT_TRUE(std::filesystem::exists(logFile));
            EXPECT_GT(std::filesystem::file_size(logFile), 0u);
        } else {
            EXPECT_TRUE(std::filesystem::is_empty(folder));
        }
    }
}

TEST_F(LoggerTest, LineIsTimeStampBlankMessageAndLineBreak) {
    const struct {
        SYSTEMTIME time;
        const char* stamp;
    } cases[] = {
        {{2024, 1, 2, 3, 4, 5, 6, 7}, "2024-01-03 04:05:06.007"},
        {{1999, 12, 5, 31, 23, 59, 58, 999}, "1999-12-31 23:59:58.999"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stamp);
        const SYSTEMTIME time = c.time;
        system().GetLocalTime = [time](LPSYSTEMTIME out) { *out = time; };
        LogCapture log;
        Logger::instance()->log("[Dravik] Unit %s", "C:\\value with blanks");
        EXPECT_EQ(log.appendedText(),
                  std::string(c.stamp) + " [Dravik] Unit C:\\value with blanks\r\n");
    }
}

TEST_F(LoggerTest, MessageTooLongForTheLineIsDroppedWhole) {
    LogCapture log;
    const std::string longValue(1100, 'v');
    Logger::instance()->log("[Dravik] Long: %s", longValue.c_str());
    Logger::instance()->log("[Dravik] After");
    EXPECT_EQ(log.messages(), std::vector<std::string>{"[Dravik] After"});
}

}  // namespace
}  // namespace dravik
