#include "shared/XmlText.h"

#include <gtest/gtest.h>

#include <string>

using namespace quilla;

TEST(XmlText, KeepsValidTextAndReplacesWhatXMLCannotHold) {
    const struct {
        const char* name;
        std::string input;
        std::string expected;
    } cases[] = {
        {"plain", "abc\t\n\r", "abc\t\n\r"},
        {"Chinese and an emoji", "桌面 \xF0\x9F\x98\x80", "桌面 \xF0\x9F\x98\x80"},
        {"stray continuation", "a\x80z", "a\uFFFDz"},
        {"overlong slash", "\xC0\xAF", "\uFFFD\uFFFD"},
        {"surrogate", "\xED\xA0\x80", "\uFFFD\uFFFD\uFFFD"},
        {"truncated at the end", "x\xE6\x96", "x\uFFFD\uFFFD"},
        {"beyond U+10FFFF", "\xF4\x90\x80\x80", "\uFFFD\uFFFD\uFFFD\uFFFD"},
        {"NUL and a control character", std::string("a\0\x01", 3), "a\uFFFD\uFFFD"},
        {"noncharacter U+FFFE", "\xEF\xBF\xBE", "\uFFFD"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(xmlSafeText(c.input), c.expected) << c.name;
        EXPECT_EQ(isXmlSafeText(c.input), c.input == c.expected) << c.name;
        EXPECT_TRUE(isXmlSafeText(xmlSafeText(c.input))) << c.name;
    }
}
