#include "app/core/url/QuillaURLRequest.h"

#include <gtest/gtest.h>

using namespace quilla;
using Host = QuillaURLRequest::Host;

TEST(QuillaURLRequest, SchemeHostAndMalformedInput) {
    struct Case {
        const char* url;
        std::optional<Host> host; // nothing = not parsed at all
    };
    const Case cases[] = {
        {"quilla://finder-action?actionID=copyFullPath", Host::finderAction},
        {"quilla://feature-request", Host::featureRequest},
        {"quilla://feature-request/?x=1#top", Host::featureRequest},
        {"quilla://user@finder-action:80/?actionID=x", Host::finderAction},
        {"quilla://Finder-Action?actionID=x", Host::other}, // hosts are compared as written
        {"quilla://elsewhere?actionID=x", Host::other},
        {"quilla:finder-action?actionID=x", Host::other}, // no authority, no host
        {"quilla://", Host::other},
        {"QUILLA://finder-action", std::nullopt}, // the scheme is compared as written
        {"quillax://finder-action", std::nullopt},
        {"quilla", std::nullopt},
        {"https://finder-action?actionID=x", std::nullopt},
        {"", std::nullopt},
        {"quilla://finder-action?path=%zz", std::nullopt}, // broken escape
        {"quilla://finder-action?path=%4", std::nullopt},  // cut-off escape
        {"quilla://finder-action?path=a%", std::nullopt},
        {"quilla://finder-action?path=/a%00b", std::nullopt}, // a NUL can be in no path
        {"quilla://finder%2daction?actionID=x", Host::finderAction},
    };
    for (const auto& c : cases) {
        const auto request = QuillaURLRequest::parse(c.url);
        ASSERT_EQ(request.has_value(), c.host.has_value()) << c.url;
        if (request) {
            EXPECT_EQ(request->host, *c.host) << c.url;
        }
    }
}

TEST(QuillaURLRequest, QueryItemsTakeTheirFirstOccurrenceAndPathsAllInOrder) {
    struct Case {
        const char* query;
        std::vector<std::string> paths;
        std::optional<std::string> target;
        std::string actionID;
        std::optional<std::string> destination;
        std::optional<std::string> presetID;
        std::optional<std::string> title;
    };
    const Case cases[] = {
        {"", {}, {}, "completed", {}, {}, {}},
        {"actionID=copyFullPath&path=/a&path=/b%20c&target=/t",
         {"/a", "/b c"},
         "/t",
         "copyFullPath",
         {},
         {},
         {}},
        // Items without a value, and empty ones, are skipped; "+" is no space.
        {"path&path=&path=/x+y&&path=/%E6%A1%8C%E9%9D%A2", {"/x+y", "/桌面"}, {}, "completed", {}, {}, {}},
        {"actionID=&action=%E5%A4%8D%E5%88%B6", {}, {}, "completed", {}, {}, "复制"},
        {"actionID", {}, {}, "completed", {}, {}, {}},
        {"actionID=a&actionID=b&target=/1&target=/2", {}, "/1", "a", {}, {}, {}},
        // The first of "destination" and "destinationPath", whichever name it has.
        {"destinationPath=/p&destination=/d", {}, {}, "completed", "/p", {}, {}},
        {"destination=/d&destinationPath=/p", {}, {}, "completed", "/d", {}, {}},
        // Names are case-sensitive.
        {"ActionID=x&PATH=/a&presetID=P1", {}, {}, "completed", {}, "P1", {}},
        {"path=/a%26b%3Dc&path=/q#path=/fragment", {"/a&b=c", "/q"}, {}, "completed", {}, {}, {}},
        {"actionID=moveFilesToDesktop&path=/a#frag", {"/a"}, {}, "moveFilesToDesktop", {}, {}, {}},
    };
    for (const auto& c : cases) {
        const std::string url = std::string("quilla://finder-action?") + c.query;
        const auto request = QuillaURLRequest::parse(url);
        ASSERT_TRUE(request) << url;
        EXPECT_EQ(request->paths, c.paths) << url;
        EXPECT_EQ(request->target, c.target) << url;
        EXPECT_EQ(request->actionID, c.actionID) << url;
        EXPECT_EQ(request->destination, c.destination) << url;
        EXPECT_EQ(request->presetID, c.presetID) << url;
        EXPECT_EQ(request->actionTitle, c.title) << url;
    }
}

TEST(QuillaURLRequest, HostileInputIsRefusedOrParsedWithoutHarm) {
    using namespace std::string_literals;
    const std::string prefix = "quilla://finder-action?actionID=copyFullPath&path=";
    // Refused as a whole: nothing an honest sender produces.
    for (const std::string& url : {
             prefix + "/a\0/etc/passwd"s, // a raw NUL would cut the path short
             prefix + "/a\n/b",           // raw line breaks would split log lines
             prefix + "/a\x7f",           //
             "quilla\0://finder-action"s, //
             prefix + std::string(QuillaURLRequest::maximumLength, 'a'), // too long
             prefix + "%",                                               //
             prefix + "%%41",                                            //
             prefix + "%\xe6\xa1",                                       // a cut UTF-8 sequence is no escape
             prefix + "/a%00",                                           //
         }) {
        EXPECT_FALSE(QuillaURLRequest::parse(url)) << testing::PrintToString(url.substr(0, 80));
    }

    // Relative paths name nothing the sender can know: dropped like empty ones.
    const auto relative = QuillaURLRequest::parse("quilla://finder-action?path=etc/passwd&path=..&path=/"
                                                  "ok&target=.&destination=~/x&destinationPath=/d");
    ASSERT_TRUE(relative);
    EXPECT_EQ(relative->paths, std::vector<std::string>{"/ok"});
    EXPECT_EQ(relative->target, std::nullopt);
    EXPECT_EQ(relative->destination, std::nullopt); // the first of the two names decides

    // Bytes that are not UTF-8 are a legal Linux path and pass through unchanged.
    const auto bytes = QuillaURLRequest::parse(prefix + "/%FF%FE\xff");
    ASSERT_TRUE(bytes);
    EXPECT_EQ(bytes->paths, std::vector<std::string>{"/\xff\xfe\xff"});

    // Many items within the limit are all kept, in order, without quadratic work.
    std::string many = "quilla://finder-action?";
    for (int i = 0; i < 50000; ++i) {
        many += "path=/" + std::to_string(i) + "&&";
    }
    const auto all = QuillaURLRequest::parse(many);
    ASSERT_TRUE(all);
    ASSERT_EQ(all->paths.size(), 50000u);
    EXPECT_EQ(all->paths.back(), "/49999");

    // Odd but harmless authorities never read past the text.
    for (const char* url : {"quilla://@", "quilla://:", "quilla://@:?",
                            "quilla:", "quilla://?&&==&=", "quilla://finder-action?=&=x&x=&&"}) {
        const auto request = QuillaURLRequest::parse(url);
        ASSERT_TRUE(request) << url;
        EXPECT_TRUE(request->paths.empty()) << url;
    }
}
