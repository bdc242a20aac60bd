#include "shared/L10n.h"
#include "shared/catalog/CatalogTable.h"
#include "shared/l10n/L10nTableSources.h"
#include "shared/l10n/L10nTableText.h"

#include <gtest/gtest.h>

#include <array>
#include <set>
#include <string>

using namespace quilla;

namespace {

// Every text the program can show: the catalog's titles and summaries and every key a call site
// of a linked library registered at start-up.
std::set<std::string> keysInUse() {
    std::set<std::string> keys;
    for (const auto& row : catalog::featureRows) {
        keys.emplace(row.title);
        keys.emplace(row.summary);
    }
    for (const auto& row : catalog::childRows) {
        keys.emplace(row.title);
        keys.emplace(row.summary);
    }
    for (const auto& key : L10n::registeredKeys()) {
        keys.insert(key);
    }
    return keys;
}

std::string listed(const std::set<std::string>& keys) {
    std::string text;
    for (const auto& key : keys) {
        text += "\n  " + key;
    }
    return text;
}

std::set<std::string> missingFrom(const L10n::Table& table) {
    std::set<std::string> missing;
    for (const auto& key : keysInUse()) {
        if (!table.contains(key)) {
            missing.insert(key);
        }
    }
    return missing;
}

std::size_t occurrences(const std::string& text, std::string_view part) {
    std::size_t count = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size())) {
        ++count;
    }
    return count;
}

bool hasCJK(const std::string& text) {
    // Every CJK ideograph and CJK punctuation mark is a three-byte UTF-8 sequence led by E3..E9.
    for (const unsigned char c : text) {
        if (c >= 0xE3 && c <= 0xE9) {
            return true;
        }
    }
    return false;
}

class L10nTables : public ::testing::Test {
protected:
    void SetUp() override { L10n::useDisplayTables(); }
    void TearDown() override {
        L10n::setLanguage(L10n::languageFromEnvironment());
        L10n::setTable({});
    }
};

} // namespace

TEST_F(L10nTables, EveryLibraryRegistersItsKeys) {
    // Linked whole, the registrations of code no test calls still run: a key held in a table of
    // the application core and one of the extension core are both there.
    const auto keys = L10n::registeredKeys();
    const std::set<std::string> registered(keys.begin(), keys.end());
    EXPECT_TRUE(registered.contains("按名称排序"));
    EXPECT_TRUE(registered.contains("文稿"));
    // And a call site of each deliverable: the extension core, the executor, the Qt adapters.
    EXPECT_TRUE(registered.contains("没有已启用功能"));
    EXPECT_TRUE(registered.contains("写入剪贴板失败。"));
    EXPECT_TRUE(registered.contains("确定"));
    EXPECT_GT(keysInUse().size(), catalog::featureCount + catalog::childCount);
}

TEST_F(L10nTables, TablesAreWellFormed) {
    for (const auto source : {l10n::chineseTableSource(), l10n::englishTableSource()}) {
        const auto parsed = L10nTableText::parse(source);
        std::string problems;
        for (const auto& problem : parsed.problems) {
            problems += "\n  " + problem;
        }
        EXPECT_TRUE(parsed.problems.empty()) << problems;
        EXPECT_FALSE(parsed.table.empty());
    }
}

TEST_F(L10nTables, EveryTextInUseHasALinuxChineseRowAndAnEnglishRow) {
    const auto chinese = missingFrom(L10n::displayTable(L10nLanguage::chinese));
    EXPECT_TRUE(chinese.empty()) << "keys without a row in shared/l10n/zh_CN.tsv:" << listed(chinese);
    const auto english = missingFrom(L10n::displayTable(L10nLanguage::english));
    EXPECT_TRUE(english.empty()) << "keys without a row in shared/l10n/en.tsv:" << listed(english);
}

TEST_F(L10nTables, LinuxChineseNamesNoPartOfTheOtherSystem) {
    // "演示文稿" is the ordinary word for a presentation (LibreOffice says it too); only the
    // Documents folder called 文稿 is another system's word.
    static constexpr std::array<std::string_view, 7> foreign{"Finder",   "macOS",    "Mac ",    "废纸篓",
                                                             "快捷指令", "系统设置", "Terminal"};
    std::set<std::string> offending;
    const auto& table = L10n::displayTable(L10nLanguage::chinese);
    for (const auto& key : keysInUse()) {
        const auto row = table.find(key);
        if (row == table.end()) {
            continue; // a missing row fails the test above
        }
        auto text = row->second;
        for (auto at = text.find("演示文稿"); at != std::string::npos; at = text.find("演示文稿")) {
            text.replace(at, std::string_view("演示文稿").size(), "演示");
        }
        for (const auto word : foreign) {
            if (text.find(word) != std::string::npos || text.find("文稿") != std::string::npos) {
                offending.insert(key + " → " + text);
                break;
            }
        }
    }
    EXPECT_TRUE(offending.empty()) << listed(offending);
}

TEST_F(L10nTables, EnglishIsEnglishAndKeepsTheArgument) {
    std::set<std::string> faulty;
    for (const auto& [key, text] : L10n::displayTable(L10nLanguage::english)) {
        if (text.empty() || hasCJK(text) || occurrences(text, "%@") != occurrences(key, "%@")) {
            faulty.insert(key + " → " + text);
        }
    }
    for (const auto& [key, text] : L10n::displayTable(L10nLanguage::chinese)) {
        if (occurrences(text, "%@") != occurrences(key, "%@")) {
            faulty.insert(key + " → " + text);
        }
    }
    EXPECT_TRUE(faulty.empty()) << listed(faulty);
}

TEST_F(L10nTables, ShownTextFollowsTheLanguage) {
    L10n::setLanguage(L10nLanguage::chinese);
    EXPECT_EQ(L10n::text<"7 天后移到废纸篓">(), "7 天后移到回收站");
    EXPECT_EQ(L10n::text<"新建">(), "新建");
    EXPECT_EQ(L10n::format<"没有找到 %@ 应用。">("终端"), "没有找到 终端 应用。");
    L10n::setLanguage(L10nLanguage::english);
    EXPECT_EQ(L10n::text<"新建">(), "New");
    EXPECT_EQ(L10n::text<"7 天后移到废纸篓">(), "Move to Trash in 7 Days");
    EXPECT_EQ(L10n::format<"没有找到 %@ 应用。">("Terminal"), "Application not found: Terminal.");
    // A key no table knows (a name the user typed, say) is shown as it is.
    const std::string typed = "我的脚本";
    EXPECT_EQ(L10n::text(typed), typed);
}
