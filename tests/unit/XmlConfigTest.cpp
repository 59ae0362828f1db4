#include "config/XmlConfig.h"

#include "platform/PathBuffer.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <string>

namespace dravik {
namespace {

using testing_support::TempFolder;

// Looks key up in a reader of a file with the given bytes. Returns whether
// it was found; value receives the buffer's text either way.
bool lookUp(const TempFolder& folder, const std::string& bytes, const char* key,
            std::string& value) {
    const std::string file = folder.write("test.xml", bytes);
    const XmlConfig reader(file.c_str());
    PathBuffer out;
    out.assign("untouched");
    const bool found = reader.getValue(key, out);
    value = out.get();
    return found;
}

struct ValueCase {
    const char* name;
    std::string content;  // of the Value element
    bool found;
    std::string value;
};

TEST(XmlConfigValue, FormsOfElementContent) {
    const ValueCase cases[] = {
        {"plain text", "Quillet", true, "Quillet"},
        {"text then children: first text only", "first<b>x</b>second<!-- c -->", true, "first"},
        {"white space around and inside kept", "  x  ", true, "  x  "},
        {"own indented line", "\n    C:\\App Dir\n  ", true, "\n    C:\\App Dir\n  "},
        {"CR LF and lone CR become LF", "a\r\nb\rc", true, "a\nb\nc"},
        {"references decoded", "&lt;a&gt; &amp; &quot;&apos; &#65;&#x42;", true, "<a> & \"' AB"},
        {"CDATA as written", "<![CDATA[<not a tag> &amp; ]]>", true, "<not a tag> &amp; "},
        {"empty CDATA", "<![CDATA[]]>", true, ""},
        {"nothing", "", false, "untouched"},
        {"white space only", "  \r\n\t ", false, "untouched"},
        {"comment first", "<!-- note -->text", false, "untouched"},
        {"child element first", "<b>x</b>text", false, "untouched"},
    };
    TempFolder folder;
    for (const ValueCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::string value;
        EXPECT_EQ(
            lookUp(folder, "<Root><Value>" + c.content + "</Value></Root>", "Root.Value", value),
            c.found);
        EXPECT_EQ(value, c.value);
    }
}

TEST(XmlConfigValue, SelfClosingElementHasNoValue) {
    TempFolder folder;
    std::string value;
    EXPECT_FALSE(lookUp(folder, "<Root><Value/></Root>", "Root.Value", value));
    EXPECT_EQ(value, "untouched");
}

TEST(XmlConfigValue, AttributesAreNeitherValuesNorPathSteps) {
    TempFolder folder;
    const std::string xml = "<Root name=\"r\"><Value name=\"attr\">text</Value></Root>";
    std::string value;
    EXPECT_TRUE(lookUp(folder, xml, "Root.Value", value));
    EXPECT_EQ(value, "text");
    EXPECT_FALSE(lookUp(folder, xml, "Root.Value.name", value));
    EXPECT_FALSE(lookUp(folder, xml, "Root.name", value));
}

TEST(XmlConfigKey, Walk) {
    TempFolder folder;
    const std::string file = folder.write("keys.xml",
                                          "<?xml version=\"1.0\"?>\n"
                                          "<CommonCfg>\n"
                                          "  <MonitorName>first</MonitorName>\n"
                                          "  <MonitorName>second</MonitorName>\n"
                                          "  <Group><Item>a</Item></Group>\n"
                                          "  <Group><Item>b</Item><Other>o</Other></Group>\n"
                                          "  <Dotted.Name>d</Dotted.Name>\n"
                                          "</CommonCfg>\n"
                                          "<CommonCfg><Extra>e</Extra></CommonCfg>\n");
    const XmlConfig reader(file.c_str());
    const struct {
        const char* key;
        bool found;
        const char* value;
    } cases[] = {
        {"CommonCfg.MonitorName", true, "first"},
        {"CommonCfg.MonitorName.", true, "first"},
        {".CommonCfg.MonitorName", false, ""},
        {"CommonCfg..MonitorName", false, ""},
        {"commoncfg.monitorname", false, ""},
        {"CommonCfg.monitorName", false, ""},
        {"CommonCfg.MonitorName ", false, ""},
        // First element of the name at each level, no going back.
        {"CommonCfg.Group.Item", true, "a"},
        {"CommonCfg.Group.Other", false, ""},
        {"CommonCfg.Extra", false, ""},
        {"CommonCfg.Dotted.Name", false, ""},
        {"CommonCfg", false, ""},
        {"", false, ""},
        {"Missing", false, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        PathBuffer out;
        out.assign("untouched");
        EXPECT_EQ(reader.getValue(c.key, out), c.found);
        EXPECT_STREQ(out.get(), c.found ? c.value : "untouched");
    }
}

TEST(XmlConfigKey, ComponentOf255CharactersIsLookedUpAnd256IsRefused) {
    TempFolder folder;
    for (const std::size_t length : {std::size_t{255}, std::size_t{256}}) {
        SCOPED_TRACE(length);
        const std::string name(length, 'n');
        std::string value;
        EXPECT_EQ(lookUp(folder, "<" + name + ">v</" + name + ">", name.c_str(), value),
                  length == 255);
        EXPECT_EQ(value, length == 255 ? "v" : "untouched");
    }
}

TEST(XmlConfigLoad, UnreadableFilesGiveNoValues) {
    TempFolder folder;
    const struct {
        const char* name;
        const char* bytes;  // null: no file at all
    } cases[] = {
        {"missing file", nullptr},
        {"empty file", ""},
        {"syntax error", "<Root><Value>x</Root>"},
        {"cut short", "<Root><Value>x</Va"},
        {"not XML", "Value=x\n"},
        {"binary bytes", "\x01\x02\xFF\xFE<"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string file =
            c.bytes != nullptr ? folder.write("load.xml", c.bytes) : folder.pathOf("absent.xml");
        const XmlConfig reader(file.c_str());
        PathBuffer out;
        out.assign("untouched");
        EXPECT_FALSE(reader.getValue("Root.Value", out));
        EXPECT_STREQ(out.get(), "untouched");
    }
}

TEST(XmlConfigValue, ValueThatDoesNotFitTheTargetIsRefusedWithTargetUntouched) {
    TempFolder folder;
    const std::string file =
        folder.write("fit.xml", "<R><Seven>1234567</Seven><Eight>12345678</Eight></R>");
    const XmlConfig reader(file.c_str());
    StackString<8> out;
    out.assign("old");
    EXPECT_FALSE(reader.getValue("R.Eight", out));
    EXPECT_STREQ(out.get(), "old");
    EXPECT_TRUE(reader.getValue("R.Seven", out));
    EXPECT_STREQ(out.get(), "1234567");

    // The same at the size of a path buffer: 259 characters fit, 260 do not.
    for (const std::size_t length : {std::size_t{259}, std::size_t{260}}) {
        SCOPED_TRACE(length);
        std::string value;
        EXPECT_EQ(lookUp(folder, "<V>" + std::string(length, 'p') + "</V>", "V", value),
                  length == 259);
        EXPECT_EQ(value.size(), length == 259 ? 259u : std::string("untouched").size());
    }
}

// A document whose Value element sits at the given depth (1 = top level).
std::string nested(std::size_t depth, std::string& key) {
    std::string xml;
    key.clear();
    for (std::size_t i = 1; i < depth; ++i) {
        xml += "<a>";
        key += "a.";
    }
    xml += "<Value>deep</Value>";
    key += "Value";
    for (std::size_t i = 1; i < depth; ++i) {
        xml += "</a>";
    }
    return xml;
}

TEST(XmlConfigLimits, NestingDepthUpToTheLimitIsReadBeyondItRefused) {
    TempFolder folder;
    for (const std::size_t depth : {XmlConfig::kMaxElementDepth, XmlConfig::kMaxElementDepth + 1}) {
        SCOPED_TRACE(depth);
        std::string key;
        const std::string xml = nested(depth, key);
        std::string value;
        EXPECT_EQ(lookUp(folder, xml, key.c_str(), value), depth == XmlConfig::kMaxElementDepth);
    }
}

TEST(XmlConfigLimits, FileOfTheMaximumSizeIsReadOneByteMoreRefused) {
    TempFolder folder;
    const std::string document = "<Root><Value>x</Value></Root>";
    for (const std::size_t size : {XmlConfig::kMaxFileSize, XmlConfig::kMaxFileSize + 1}) {
        SCOPED_TRACE(size);
        // Padded with white space after the root element.
        const std::string xml = document + std::string(size - document.size(), ' ');
        ASSERT_EQ(xml.size(), size);
        std::string value;
        EXPECT_EQ(lookUp(folder, xml, "Root.Value", value), size == XmlConfig::kMaxFileSize);
    }
}

TEST(XmlConfigLimits, HostileFilesAreRefusedWithoutCrashing) {
    TempFolder folder;
    std::string deepWithinSize;  // as deep as the size limit allows
    while (deepWithinSize.size() + 3 <= XmlConfig::kMaxFileSize) {
        deepWithinSize += "<a>";
    }
    std::string veryDeep;  // far beyond any stack, and over the size limit
    for (int i = 0; i < 200000; ++i) {
        veryDeep += "<a>";
    }
    std::string huge = "<Root><Value>x</Value>";
    huge += std::string(8 * 1024 * 1024, ' ');
    huge += "</Root>";
    for (const std::string* bytes : {&deepWithinSize, &veryDeep, &huge}) {
        std::string value;
        EXPECT_FALSE(lookUp(folder, *bytes, "Root.Value", value));
        EXPECT_EQ(value, "untouched");
    }
}

TEST(XmlConfigLimits, FilesThatHideEndTagsFromTheDepthCheckAreRefusedWithoutCrashing) {
    TempFolder folder;
    // Thousands of levels to the parser, few to a scan that trusts every
    // end tag it sees.
    std::string declarations = "<?xml version=\"1.0\"?>";
    std::string utf8 = "\xEF\xBB\xBF<a>";
    for (int round = 0; round < 700; ++round) {
        declarations += std::string("<a>") + "<a><a><a><a><a><a><a><a><a>" + "<?xml version=\">" +
                        "</a></a></a></a></a></a></a></a></a></a>" + "\"?>";
    }
    for (int level = 0; level < 6000; ++level) {
        utf8 += "<a>\xC3</a>";
    }
    for (const std::string* bytes : {&declarations, &utf8}) {
        ASSERT_LE(bytes->size(), XmlConfig::kMaxFileSize);
        std::string value;
        EXPECT_FALSE(lookUp(folder, *bytes, "a", value));
    }
}

TEST(XmlConfigLimits, OrdinaryFileWithManyElementsAndUtf8IsRead) {
    TempFolder folder;
    std::string xml = "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?><R>";
    for (int i = 0; i < 200; ++i) {
        xml +=
            "<S a=\"\xC3\xA9\">Gr\xC3\xB6\xC3\x9F"
            "e</S>";
    }
    xml += "<Value>C:\\Programme\\Caf\xC3\xA9</Value></R>";
    std::string value;
    EXPECT_TRUE(lookUp(folder, xml, "R.Value", value));
    EXPECT_EQ(value, "C:\\Programme\\Caf\xC3\xA9");
}

}  // namespace
}  // namespace dravik
