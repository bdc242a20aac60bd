#include "shared/PropertyList.h"

#include "shared/FileIO.h"
#include "tests/support/TestEnv.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace quilla;

namespace {

constexpr const char* kXMLHeader = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                   "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
                                   "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n";

std::string wrap(const std::string& body) {
    return std::string(kXMLHeader) + "<plist version=\"1.0\">" + body + "</plist>";
}

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
    const unsigned char bytes[] = {0x62, 0x70, 0x6c, 0x69, 0x73, 0x74, 0x30, 0x30, 0xd1, 0x01, 0x02,
                                   0x51, 0x61, 0xa1, 0x03, 0x51, 0x78, 0x08, 0x0b, 0x0d, 0x0f, 0x00,
                                   0x00, 0x00, 0x00, 0x00, 0x00, 0x01, 0x01, 0x00, 0x00, 0x00, 0x00,
                                   0x00, 0x00, 0x00, 0x04, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
                                   0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x11};
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

namespace {

// Builds a binary property list from encoded objects (object 0 is the root), with one-byte
// offsets when they fit and two-byte references.
std::string bplist(const std::vector<std::string>& objects) {
    std::string bytes = "bplist00";
    std::vector<std::size_t> offsets;
    for (const auto& object : objects) {
        offsets.push_back(bytes.size());
        bytes += object;
    }
    const std::size_t table = bytes.size();
    const std::size_t width = table < 256 ? 1 : (table < 65536 ? 2 : 4);
    for (const auto offset : offsets) {
        for (std::size_t i = width; i-- > 0;) {
            bytes.push_back(static_cast<char>((offset >> (8 * i)) & 0xFF));
        }
    }
    std::string trailer(32, '\0');
    trailer[6] = static_cast<char>(width);
    trailer[7] = 2;
    for (int i = 0; i < 8; ++i) {
        trailer[8 + i] = static_cast<char>((objects.size() >> (8 * (7 - i))) & 0xFF);
        trailer[24 + i] = static_cast<char>((table >> (8 * (7 - i))) & 0xFF);
    }
    return bytes + trailer;
}

std::string ref(std::size_t index) {
    return {static_cast<char>(index >> 8), static_cast<char>(index & 0xFF)};
}

// An array or dictionary marker with its references (a dictionary: keys, then values).
std::string container(unsigned char type, const std::vector<std::size_t>& refs, std::size_t pairs) {
    std::string object(1, static_cast<char>(type | std::min<std::size_t>(pairs, 15)));
    if (pairs >= 15) {
        object += std::string{0x11, static_cast<char>(pairs >> 8), static_cast<char>(pairs & 0xFF)};
    }
    for (const auto index : refs) {
        object += ref(index);
    }
    return object;
}

std::string ascii(std::string_view text) {
    return static_cast<char>(0x50 | text.size()) + std::string(text);
}

std::string date2099XML() {
    return wrap("<array><date>2099-06-01T12:00:00Z</date></array>");
}

} // namespace

TEST(PropertyList, HostileBinaryShapesAreRefusedQuickly) {
    std::vector<std::string> chain;
    for (std::size_t i = 0; i < 100000; ++i) {
        chain.push_back(i + 1 < 100000 ? container(0xA0, {i + 1}, 1) : ascii("x"));
    }
    std::vector<std::string> bomb; // each array holds the next one twice: 2^40 values once expanded
    for (std::size_t i = 0; i < 40; ++i) {
        bomb.push_back(container(0xA0, {i + 1, i + 1}, 2));
    }
    bomb.push_back(ascii("x"));
    const struct {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"100,000 nested arrays", bplist(chain)},
        {"shared references expanding past the node limit", bplist(bomb)},
        {"an array holding itself", bplist({container(0xA0, {0}, 1)})},
        {"a reference past the table", bplist({container(0xA0, {7}, 1)})},
        {"a non-string key", bplist({container(0xD0, {1, 1}, 1), "\x10\x01"})},
        {"a NUL inside an ASCII string", bplist({container(0xA0, {1}, 1), ascii(std::string("a\0b", 3))})},
        {"a NUL inside a key",
         bplist({container(0xD0, {1, 2}, 1), ascii(std::string("k\0", 2)), ascii("v")})},
        {"a NUL inside a UTF-16 string",
         bplist({container(0xA0, {1}, 1), std::string("\x62\x00\x41\x00\x00", 5)})},
        {"a string running past the end", bplist({std::string("\x5f\x10\x7f", 3) + "abc"})},
        {"a truncated trailer", bplist({ascii("x")}).substr(0, 30)},
        {"an offset width of 0",
         [] {
             auto bytes = bplist({ascii("x")});
             bytes[bytes.size() - 26] = 0;
             return bytes;
         }()},
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(plist::parse(c.bytes)) << c.name;
    }
}

TEST(PropertyList, ReadsWellFormedBinaryWithSharedValues) {
    // {"a": ["x", "x"], "b": "x"}: one string object referenced three times.
    const auto bytes = bplist(
        {container(0xD0, {1, 2, 3, 4}, 2), ascii("a"), ascii("b"), container(0xA0, {4, 4}, 2), ascii("x")});
    const auto parsed = plist::parse(bytes);
    ASSERT_TRUE(parsed && parsed->asDict());
    EXPECT_EQ(plist::stringArray(*parsed->asDict(), "a"), (std::vector<std::string>{"x", "x"}));
    EXPECT_EQ(*plist::string(*parsed->asDict(), "b"), "x");
}

TEST(PropertyList, NulInsideXMLStringIsDamageNotAbort) {
    EXPECT_FALSE(plist::parse(wrap(std::string("<array><string>a\0b</string></array>", 35))));
    EXPECT_FALSE(plist::parse(wrap(std::string("<dict><key>a\0</key><true/></dict>", 33))));
}

TEST(PropertyList, TextThatXMLCannotHoldIsReplacedOnReadAndWrite) {
    const auto parsed = plist::parse(wrap("<dict><key>k\xff</key><string>a\xc0\xaf&#1;b</string></dict>"));
    ASSERT_TRUE(parsed && parsed->asDict());
    ASSERT_TRUE(plist::string(*parsed->asDict(), "k\uFFFD"));
    EXPECT_EQ(*plist::string(*parsed->asDict(), "k\uFFFD"), "a\uFFFD\uFFFD\uFFFDb");

    const plist::Value hostile(plist::Dict{{"bad\xfe", std::string("x\x01y\xed\xa0\x80", 6)}});
    const std::string xml = plist::toXML(hostile);
    std::string output;
    const auto path = test::testRoot() / "tmp" / "out.plist";
    ASSERT_TRUE(writeFileAtomically(path, xml));
    ASSERT_EQ(
        test::runPython("import plistlib\nd = plistlib.load(open('" + path.string() +
                            "', 'rb'))\nassert d == {'bad\\ufffd': 'x\\ufffdy\\ufffd\\ufffd\\ufffd'}, d\n",
                        &output),
        0)
        << output << xml;
}

TEST(PropertyList, DatesKeepTheirFullRange) {
    using namespace std::chrono;
    const auto parsed = plist::parse(date2099XML());
    ASSERT_TRUE(parsed && parsed->asArray() && (*parsed->asArray())[0].asDate());
    const auto when = (*parsed->asArray())[0].asDate()->time;
    EXPECT_EQ(duration_cast<seconds>(when.time_since_epoch()).count(), 4083998400); // 2099-06-01T12:00:00Z

    for (const std::int64_t since1970 :
         {std::int64_t{4083998400}, std::int64_t{-2208988800}, std::int64_t{0}}) {
        const plist::Value original(plist::Array{plist::Date{system_clock::time_point(seconds(since1970))}});
        const std::string xml = plist::toXML(original);
        EXPECT_EQ(plist::parse(xml), original) << xml;
    }
    EXPECT_NE(plist::toXML(plist::Array{plist::Date{system_clock::time_point(seconds(4083998400))}})
                  .find("<date>2099-06-01T12:00:00Z</date>"),
              std::string::npos);

    // A binary date far beyond what the clock holds is damage, not a wrapped date.
    EXPECT_FALSE(plist::parse(
        bplist({container(0xA0, {1}, 1), std::string("\x33\x7f\xe0\x00\x00\x00\x00\x00\x00", 9)})));
}
