#include "shared/L10n.h"
#include "shared/l10n/L10nTableText.h"

#include <gtest/gtest.h>

using namespace quilla;

TEST(L10nLanguage, ChosenFromTheLocaleAsGettextDoes) {
    constexpr auto zh = L10nLanguage::chinese;
    constexpr auto en = L10nLanguage::english;
    EXPECT_EQ(L10n::languageFor("", "zh_CN.UTF-8"), zh);
    EXPECT_EQ(L10n::languageFor("", "en_US.UTF-8"), en);
    EXPECT_EQ(L10n::languageFor("", "en_GB"), en);
    // Neither Chinese nor English, unset, or the C locale: Chinese, the product's own language.
    EXPECT_EQ(L10n::languageFor("", "de_DE.UTF-8"), zh);
    EXPECT_EQ(L10n::languageFor("", ""), zh);
    EXPECT_EQ(L10n::languageFor("", "C.UTF-8"), zh);
    // LANGUAGE is a preference list: its first Chinese or English entry wins over the locale...
    EXPECT_EQ(L10n::languageFor("de:en_GB:zh_CN", "zh_CN.UTF-8"), en);
    EXPECT_EQ(L10n::languageFor("zh_TW:en", "en_US.UTF-8"), zh);
    EXPECT_EQ(L10n::languageFor("de:fr", "en_US.UTF-8"), en);
    // ...except under the C locale, where gettext ignores it.
    EXPECT_EQ(L10n::languageFor("en", "C"), zh);
    EXPECT_EQ(L10n::localeName(en), std::string("en_US"));
}

TEST(L10nTableText, ReadsRowsKeysAloneAndEscapes) {
    const auto parsed = L10nTableText::parse("# comment\n\n新建\tNew\r\n桌面\n两行\tline\\none\\ttab\\\\\n");
    EXPECT_TRUE(parsed.problems.empty());
    ASSERT_EQ(parsed.table.size(), 3U);
    EXPECT_EQ(parsed.table.at("新建"), "New");
    EXPECT_EQ(parsed.table.at("桌面"), "桌面");
    EXPECT_EQ(parsed.table.at("两行"), "line\none\ttab\\");
}

TEST(L10nTableText, ReportsFaultsAndKeepsTheFirstRow) {
    const auto parsed = L10nTableText::parse("新建\tNew\n\tno key\n新建\tCreate");
    ASSERT_EQ(parsed.problems.size(), 2U);
    EXPECT_EQ(parsed.problems[0], "line 2: no key");
    EXPECT_EQ(parsed.problems[1], "line 3: key repeated: 新建");
    EXPECT_EQ(parsed.table.at("新建"), "New");
}

TEST(L10nOverride, ATestTableReplacesTheDisplayTables) {
    L10n::setTable({{"新建", "Neu"}});
    EXPECT_EQ(L10n::text<"新建">(), "Neu");
    EXPECT_EQ(L10n::text<"7 天后移到废纸篓">(), "7 天后移到废纸篓");
    L10n::useDisplayTables();
    L10n::setLanguage(L10nLanguage::chinese);
    EXPECT_EQ(L10n::text<"7 天后移到废纸篓">(), "7 天后移到回收站");
    L10n::setTable({});
}
