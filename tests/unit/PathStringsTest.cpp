#include "platform/PathStrings.h"

#include <gtest/gtest.h>

#include <string>

namespace dravik {
namespace {

std::string repeat(char c, std::size_t n) { return std::string(n, c); }

struct AppendCase {
    const char* name;
    std::string before;
    bool result;
    std::string after;
};

TEST(AppendBackslash, Table) {
    const std::string room258 = "C:\\" + repeat('d', 255);  // 258 characters
    const std::string full259 = "C:\\" + repeat('d', 256);  // 259 characters
    const std::string full259WithSlash = "C:\\" + repeat('d', 255) + "\\";
    const AppendCase cases[] = {
        {"folder gets one", "C:\\dir", true, "C:\\dir\\"},
        {"ends in backslash: unchanged", "C:\\dir\\", true, "C:\\dir\\"},
        {"final forward slash is no separator", "C:\\dir/", true, "C:\\dir/\\"},
        {"single character", "C", true, "C\\"},
        {"empty text refused", "", false, ""},
        {"258 characters: last room used", room258, true, room258 + "\\"},
        {"259 characters: no room, refused", full259, false, full259},
        {"259 characters ending in backslash", full259WithSlash, true, full259WithSlash},
    };
    for (const AppendCase& c : cases) {
        SCOPED_TRACE(c.name);
        PathBuffer path;
        ASSERT_TRUE(path.assign(c.before.c_str()));
        EXPECT_EQ(appendBackslash(path), c.result);
        EXPECT_EQ(std::string(path.get()), c.after);
    }
}

TEST(AppendBackslash, SecondCallChangesNothing) {
    PathBuffer path;
    ASSERT_TRUE(path.assign("C:\\Program Files"));
    ASSERT_TRUE(appendBackslash(path));
    ASSERT_TRUE(appendBackslash(path));
    EXPECT_STREQ(path.get(), "C:\\Program Files\\");
}

TEST(NormalizeSlashes, Table) {
    const struct {
        std::string before;
        std::string after;
    } cases[] = {
        {"Pelmo/RQ/InstallPath/RQInstallationPath.xml",
         "Pelmo\\RQ\\InstallPath\\RQInstallationPath.xml"},
        {"/a\\b/c\\/", "\\a\\b\\c\\\\"},
        {"", ""},
        {"C:\\no\\forward", "C:\\no\\forward"},
        // Every byte up to the last of a full buffer.
        {repeat('/', 259), repeat('\\', 259)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.before);
        PathBuffer path;
        ASSERT_TRUE(path.assign(c.before.c_str()));
        normalizeSlashes(path);
        EXPECT_EQ(std::string(path.get()), c.after);
        normalizeSlashes(path);
        EXPECT_EQ(std::string(path.get()), c.after);
    }
}

TEST(GetParentDirectory, Table) {
    const std::string long259 = "C:\\" + repeat('d', 250) + "\\app.e";  // last '\' at 253
    const struct {
        std::string path;
        bool result;
        std::string out;
    } cases[] = {
        {"C:\\Tools\\app.exe", true, "C:\\Tools"},
        {"C:\\app.exe", true, "C:"},
        {"\\app.exe", true, ""},
        {"C:\\a\\b\\", true, "C:\\a\\b"},
        {"C:\\a/b", true, "C:"},
        {"app.exe", false, "untouched"},
        {"", false, "untouched"},
        {long259, true, "C:\\" + repeat('d', 250)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        PathBuffer path;
        ASSERT_TRUE(path.assign(c.path.c_str()));
        PathBuffer out;
        ASSERT_TRUE(out.assign("untouched"));
        EXPECT_EQ(getParentDirectory(path, out), c.result);
        EXPECT_EQ(std::string(out.get()), c.out);
    }
}

}  // namespace
}  // namespace dravik
