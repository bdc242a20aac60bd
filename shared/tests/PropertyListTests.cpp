#include "shared/PropertyList.h"

#include <gtest/gtest.h>

#include <string>

using namespace quilla;

namespace {

constexpr const char* kXMLHeader = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                   "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
                                   "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n";

std::string wrap(const std::string& body) { return std::string(kXMLHeader) + "<plist version=\"1.0\">" + body + "</plist>"; }

} // namespace

TEST(PropertyList, RoundTripsEveryTypeThroughXML) {
    plist::Dict dict;
    dict.emplace("flag", true);
    dict.emplace("count", std::int64_t{42});
    dict.emplace("ratio", 0.5);
    dict.emplace("name", "桌面 \"quoted\" & <tag>");
    dict.emplace("list", plist::makeStringArray({"a", "b"}));
    dict.emplace("bytes", plist::Data{std::string("\x00\x01\xff", 3)});
    const auto when = std::chrono::system_clock::time_point(std::chrono::seconds(1765166106));
    dict.emplace("when", plist::Date{when});
    const plist::Value original(dict);

    const std::string xml = plist::toXML(original);
    EXPECT_NE(xml.find("<plist version=\"1.0\">"), std::string::npos);
    auto parsed = plist::parse(xml);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(*parsed, original);
}

TEST(PropertyList, DamagedInputGivesNothing) {
    const std::string cases[] = {
        "",
        "not a plist at all",
        "\x00\x01\x02garbage",
        wrap("<dict><key>a</key><string>unterminated"),
        std::string(kXMLHeader) + "<plist version=\"1.0\"><dict><key>a</key>",
        "bplist00\x01\x02\x03",
    };
    for (const auto& bytes : cases) {
        EXPECT_FALSE(plist::parse(bytes)) << bytes;
    }
}

TEST(PropertyList, DeepNestingIsRefusedNotCrashed) {
    std::string body;
    for (int i = 0; i < 100000; ++i) {
        body += "<array>";
    }
    for (int i = 0; i < 100000; ++i) {
        body += "</array>";
    }
    EXPECT_FALSE(plist::parse(wrap(body)));

    std::string shallow = "<array><array><array><string>x</string></array></array></array>";
    EXPECT_TRUE(plist::parse(wrap(shallow)));
}

TEST(PropertyList, ReadsBinaryPropertyLists) {
    // A binary plist for {"a": ["x"]} as the system serialiser writes it.
    const unsigned char bytes[] = {
        0x62, 0x70, 0x6c, 0x69, 0x73, 0x74, 0x30, 0x30, 0xd1, 0x01, 0x02, 0x51, 0x61, 0xa1, 0x03, 0x51, 0x78,
        0x08, 0x0b, 0x0d, 0x0f, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00,
        0x00, 0x00, 0x04, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
        0x00, 0x11};
    auto parsed = plist::parse(std::string(reinterpret_cast<const char*>(bytes), sizeof bytes));
    ASSERT_TRUE(parsed);
    ASSERT_TRUE(parsed->asDict());
    EXPECT_EQ(plist::stringArray(*parsed->asDict(), "a"), std::vector<std::string>{"x"});
}

TEST(PropertyList, TypedAccessorsTreatWrongTypesAsAbsent) {
    auto parsed = plist::parse(wrap("<dict><key>s</key><integer>1</integer><key>b</key><string>yes</string>"
                                    "<key>mixed</key><array><string>a</string><integer>2</integer></array>"
                                    "<key>ok</key><array><string>a</string></array></dict>"));
    ASSERT_TRUE(parsed && parsed->asDict());
    const auto& dict = *parsed->asDict();
    EXPECT_EQ(plist::string(dict, "s"), nullptr);
    EXPECT_FALSE(plist::boolean(dict, "b"));
    EXPECT_FALSE(plist::stringArray(dict, "mixed"));
    EXPECT_FALSE(plist::stringArray(dict, "missing"));
    EXPECT_EQ(plist::stringArray(dict, "ok"), std::vector<std::string>{"a"});
    EXPECT_EQ(plist::dictionary(dict, "ok"), nullptr);
}
