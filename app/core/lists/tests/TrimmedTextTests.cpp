#include "app/core/lists/TrimmedText.h"

#include <gtest/gtest.h>

using namespace quilla;

TEST(TrimmedTextTest, TrimsUnicodeSpaceAndLineBreaksOnlyAtTheEnds) {
    const std::pair<std::string, std::string> cases[] = {
        {"  Make PDF  ", "Make PDF"},
        {"\n\t Run \r\n", "Run"},
        {"\u3000快捷指令\u00A0", "快捷指令"},
        {"\u2028a b\u2029\u202F", "a b"},
        {" \u3000 ", ""},
        {"", ""},
        {"a\u3000b", "a\u3000b"},
        {"\xff ", "\xff"},
        {" \xE3\x80", "\xE3\x80"},   // a cut-off sequence is not space
        {"\xC0\xA0x", "\xC0\xA0x"}, // nor is an overlong space
    };
    for (const auto& [input, expected] : cases) {
        EXPECT_EQ(trimmedText(input), expected) << input;
    }
}
