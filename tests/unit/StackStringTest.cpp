#include "platform/PathBuffer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace dravik {
namespace {

TEST(StackString, AssignTakesTextUpToCapacityMinusOneAndRefusesLongerKeepingOldText) {
    struct Case {
        std::size_t length;
        bool fits;
    };
    for (const Case c :
         {Case{0, true}, Case{1, true}, Case{259, true}, Case{260, false}, Case{300, false}}) {
        SCOPED_TRACE("length " + std::to_string(c.length));
        PathBuffer buffer;
        ASSERT_TRUE(buffer.assign("old"));
        const std::string text(c.length, 'a');
        EXPECT_EQ(buffer.assign(text.c_str()), c.fits);
        EXPECT_EQ(std::string(buffer.get()), c.fits ? text : std::string("old"));
    }
}

TEST(StackString, AppendFillsExactlyToCapacityAndRefusesOneMoreKeepingText) {
    PathBuffer buffer;
    ASSERT_TRUE(buffer.assign("abc"));
    const std::string oneOver(257, 'x');
    EXPECT_FALSE(buffer.append(oneOver.c_str()));
    EXPECT_STREQ(buffer.get(), "abc");

    const std::string exactFit(256, 'x');
    EXPECT_TRUE(buffer.append(exactFit.c_str()));
    EXPECT_EQ(buffer.length(), 259u);
    EXPECT_EQ(std::string(buffer.get()), "abc" + exactFit);

    // Full: one more character is refused, the empty text still fits.
    EXPECT_FALSE(buffer.append("y"));
    EXPECT_TRUE(buffer.append(""));
    EXPECT_EQ(buffer.length(), 259u);
}

TEST(StackString, SmallCapacityBoundsBothFills) {
    StackString<8> small;
    EXPECT_TRUE(small.assign("1234567"));
    EXPECT_FALSE(small.assign("12345678"));
    EXPECT_STREQ(small.get(), "1234567");
    EXPECT_FALSE(small.append("8"));
    EXPECT_STREQ(small.get(), "1234567");
}

TEST(StackString, StorageFilledWithoutTerminatorIsReportedAndNotExtended) {
    // As after a platform call that used the whole buffer.
    PathBuffer buffer;
    std::memset(buffer.data(), 'z', PathBuffer::capacity());
    EXPECT_FALSE(buffer.isTerminated());
    EXPECT_EQ(buffer.length(), PathBuffer::capacity());
    EXPECT_FALSE(buffer.append(""));

    buffer.data()[259] = '\0';
    EXPECT_TRUE(buffer.isTerminated());
    EXPECT_EQ(buffer.length(), 259u);
}

TEST(StackString, StartsEmptyAndClears) {
    PathBuffer buffer;
    EXPECT_TRUE(buffer.empty());
    EXPECT_STREQ(buffer.get(), "");
    ASSERT_TRUE(buffer.assign("x"));
    EXPECT_FALSE(buffer.empty());
    buffer.clear();
    EXPECT_TRUE(buffer.empty());
    EXPECT_EQ(buffer.length(), 0u);
}

}  // namespace
}  // namespace dravik
