#include "config/XmlSafety.h"

#include <gtest/gtest.h>

#include <string>

namespace dravik {
namespace {

std::size_t depthOf(const std::string& text) {
    return measureElementDepth(text.data(), text.size());
}

TEST(MeasureElementDepth, Table) {
    const struct {
        const char* name;
        std::string text;
        std::size_t depth;
    } cases[] = {
        {"empty", "", 0},
        {"text only", "no markup > at all", 0},
        {"one element", "<a>x</a>", 1},
        {"siblings do not add up", "<a><b></b><c></c><d/></a>", 2},
        {"self-closing adds no level after it", "<a><b/><b/><b/></a>", 2},
        {"self-closing with attributes", "<a><b x='1' y=\"2\" /></a>", 2},
        {"unclosed elements all count", "<a><b><c>", 3},
        {"tag cut short counts", "<a><b", 2},
        {"comment skipped", "<a><!-- <b><c><d> --></a>", 1},
        {"unterminated comment skips the rest", "<a><!-- <b><c>", 1},
        {"CDATA skipped", "<a><![CDATA[<b><c>]]></a>", 1},
        {"quoted '>' does not end a tag", "<a x=\"<b>\" y='>'><c/></a>", 2},
        {"quoted '/' does not close a tag", "<a x=\"/\"><c/></a>", 2},
        {"declaration, processing instruction, DOCTYPE",
         "<?xml version=\"1.0\"?><?pi x?><!DOCTYPE a><a/>", 1},
        {"stray end tags do not go below zero", "</a></a></a><a><b/></a>", 2},
        {"end tags close levels", "<a><b></b></a><a><b><c/></b></a>", 3},
        {"'<' before a non-name character is no tag", "< a><1b><-c>", 0},
        {"underscore and high bytes start names", "<_a><\xC3\xA9></\xC3\xA9></_a>", 2},
        {"ordinary declaration leaves siblings apart",
         "<?xml version=\"1.0\" encoding='UTF-8'?><a/><a/><a/>", 1},
        {"complete UTF-8 sequence before an end tag", "<a>\xC3\xA9</a><a>\xE2\x82\xAC</a>", 1},
        // The parser may not see the end tags that follow: every start counts.
        {"declaration value running past '>'", "<a><a><?xml version=\"></a></a>\"?><a>", 3},
        {"declaration value in single quotes", "<a><?xml encoding = '></a>'?><a>", 2},
        {"UTF-8 first byte before an end tag", "<a>\xC3</a><a>", 2},
        {"UTF-8 first byte before a closing quote", "<a b=\"\xE2\">\"></a></a><a>", 2},
        {"CR LF folded inside a UTF-8 sequence", "<a>\xE2\r\n</a><a>", 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(depthOf(c.text), c.depth);
    }
}

TEST(MeasureElementDepth, ReadsOnlyTheGivenBytes) {
    // The size, not a terminator, ends the text.
    const std::string text = "<a><b><c>";
    EXPECT_EQ(measureElementDepth(text.data(), 3), 1u);
    EXPECT_EQ(measureElementDepth(text.data(), 0), 0u);
}

}  // namespace
}  // namespace dravik
