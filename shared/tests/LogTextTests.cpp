#include "shared/LogText.h"

#include <gtest/gtest.h>

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
