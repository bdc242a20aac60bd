#include "shared/LogText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace quilla;

TEST(LogText, DateIsUTCInTheLogForm) {
    const auto time = std::chrono::system_clock::time_point(std::chrono::seconds(1796701106));
    EXPECT_EQ(logDateText(time), "2026-12-08 03:38:26 +0000");
}

TEST(LogText, ListsAreBracketedAndEscaped) {
    EXPECT_EQ(bracketedList({}), "[]");
    EXPECT_EQ(bracketedList({"/a b/c", "x"}), R"(["/a b/c", "x"])");
    EXPECT_EQ(bracketedList({"say \"hi\"\\\n"}), R"(["say \"hi\"\\\n"])");
    EXPECT_EQ(bracketedList({"a", "b", "c"}, 2), R"(["a", "b", … (1 more)])");
    EXPECT_EQ(bracketedList({"a"}, 0), "[… (1 more)]");
    EXPECT_EQ(bracketedList({"a", "b"}, 2), R"(["a", "b"])");
}

TEST(LogText, ControlCharactersNeverLeaveOneLine) {
    struct Case {
        std::string in;
        std::string out;
    };
    const std::vector<Case> cases{
        {"plain 中文 \\ \"q\"", "plain 中文 \\ \"q\""},
        {"a\nb", "a\\nb"},
        {"a\r\nb", "a\\r\\nb"},
        {"tab\there", "tab\\there"},
        {std::string("nul\0x", 5), "nul\\x00x"},
        {"esc\x1b[31m del\x7f", "esc\\x1b[31m del\\x7f"},
        {"nel\xc2\x85 line\xe2\x80\xa8 para\xe2\x80\xa9", "nel\\u0085 line\\u2028 para\\u2029"},
        {"\xc2\xa0 kept, \xe2\x80\xa6 kept", "\xc2\xa0 kept, \xe2\x80\xa6 kept"},
        {"cut at end \xc2", "cut at end \xc2"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(singleLineLogText(c.in), c.out) << c.in;
    }
}
