#include "app/core/operations/paths/FileURL.h"
#include "app/core/operations/paths/PathText.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestEnv.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace quilla;
namespace fs = std::filesystem;

TEST(PathText, NormalisingTrimsQuotesAndEscapedSpaces) {
    const std::pair<std::string, std::string> cases[] = {
        {"  /tmp/a  \n", "/tmp/a"},
        {"\u3000/tmp/全角\u00a0", "/tmp/全角"},
        {"'/tmp/my file'", "/tmp/my file"},
        {"\"/tmp/my file\"", "/tmp/my file"},
        {"'/tmp/mixed\"", "'/tmp/mixed\""},
        {"\"", "\""},
        {"''", ""},
        {"/tmp/my\\ file\\ 2", "/tmp/my file 2"},
        {"/tmp/back\\slash", "/tmp/back\\slash"},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(PathText::normalizedPathText(text), expected) << text;
    }
}

TEST(PathText, OneCandidateBecomesAnExistingItem) {
    test::ScopedHome scoped;
    const auto home = scoped.home();
    test::TempDir dir;
    const auto spaced = dir.write("my file", "");
    const auto chinese = dir.write("报告 1.txt", "");
    const auto percent = dir.write("100%20", "");
    fs::create_directories(home / "Desktop");
    const auto desktopFile = home / "Desktop" / "my file";
    std::ofstream(desktopFile) << "";

    const std::pair<std::string, std::optional<fs::path>> cases[] = {
        {"'~/Desktop/my file'", desktopFile},
        {"~/Desktop/my\\ file", desktopFile},
        {"~", home},
        {"Desktop/my file", desktopFile}, // relative text is taken from the home folder
        {"file://" + spaced.parent_path().string() + "/my%20file", spaced},
        {"FILE://localhost" + spaced.parent_path().string() + "/my%20file", spaced},
        {"file://" + dir.path().string() + "/%E6%8A%A5%E5%91%8A%201.txt", chinese},
        {dir.path().string() + "/100%20", percent}, // a plain path keeps its percent signs
        {"file://" + dir.path().string() + "/100%2520", percent},
        {"file://elsewhere" + spaced.string(), std::nullopt}, // another machine's file
        {"file://" + dir.path().string() + "/bad%2", std::nullopt},
        {"file://" + dir.path().string() + "/nul%00", std::nullopt},
        {"  " + chinese.string() + "  \r\n", chinese},
        {dir.path().string() + "/missing", std::nullopt},
        {" \t\n", std::nullopt},
        {"~nobody-here/x", std::nullopt},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(PathText::fileURL(text), expected) << text;
    }
}

TEST(PathText, ClipboardTextGivesTheExistingItemsLineByLine) {
    test::TempDir dir;
    const auto a = dir.write("a", "");
    const auto b = dir.write("b c", "");
    const std::string text = "\n  " + a.string() + "  \r\n\r\n" + dir.path().string() + "/missing\n'" + b.string() + "'";
    EXPECT_EQ(PathText::validFileURLs(text), (std::vector<fs::path>{a, b}));
    EXPECT_TRUE(PathText::validFileURLs(" \n \n").empty());
    EXPECT_TRUE(PathText::validFileURLs("").empty());
}

TEST(FileURL, RoundTripsEveryByte) {
    std::string name;
    for (int c = 1; c < 256; ++c) {
        if (c != '/') name += static_cast<char>(c);
    }
    const fs::path path = "/no/such/" + name;
    const auto url = FileURL::string(path);
    EXPECT_EQ(url.find_first_of(" \n\"#?[]\x7f\x80\xff"), std::string::npos) << url;
    EXPECT_EQ(FileURL::path(url), path);
}
