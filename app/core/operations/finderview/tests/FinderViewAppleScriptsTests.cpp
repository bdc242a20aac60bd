#include "app/core/operations/finderview/FinderViewAppleScripts.h"

#include <gtest/gtest.h>

using namespace quilla;
using Scripts = FinderViewAppleScripts;

TEST(FinderViewAppleScripts, ViewAndSortScriptsOpenAWindowFirst) {
    EXPECT_EQ(Scripts::setViewMode(Scripts::viewName(FinderViewMode::gallery)),
              "tell application \"Finder\"\n    activate\n    if (count of Finder windows) is 0 then\n"
              "        make new Finder window to desktop\n    end if\n"
              "    set current view of front Finder window to flow view\nend tell");
    EXPECT_TRUE(Scripts::setSortColumn("size column")
                    .ends_with("    set current view of front Finder window to list view\n"
                               "    set sort column of list view options of front Finder window to size column\nend tell"));
}

TEST(FinderViewAppleScripts, PresetScriptAddsOnlyTheSortLinesItsViewUses) {
    const std::string opening = "tell application \"Finder\"\nactivate\nif (count of Finder windows) is 0 then\n"
                                "make new Finder window to desktop\nend if\n";
    EXPECT_EQ(Scripts::applyView(FinderViewMode::column, FinderSortMode::name),
              opening + "set current view of front Finder window to column view\ndelay 0.15\nend tell");
    EXPECT_EQ(Scripts::applyView(FinderViewMode::icon, FinderSortMode::kind),
              opening + "set current view of front Finder window to icon view\ndelay 0.15\n"
                        "set arrangement of icon view options of front Finder window to arranged by kind\nend tell");
    EXPECT_EQ(Scripts::applyView(FinderViewMode::list, FinderSortMode::modificationDate),
              opening + "set current view of front Finder window to list view\ndelay 0.15\ndelay 0.15\n"
                        "tell list view options of front Finder window\n"
                        "set visible of column modification date column to true\n"
                        "set sort column to column modification date column\n"
                        "set sort direction of sort column to reversed\nend tell\nend tell");
}

TEST(FinderViewAppleScripts, MenuSortListsTheTitlesAndNothingForNone) {
    EXPECT_FALSE(Scripts::sortUsingViewOptions(FinderSortMode::none));
    const auto script = *Scripts::sortUsingViewOptions(FinderSortMode::size);
    EXPECT_NE(script.find("\n        set sortNames to {\"大小\", \"Size\", \"サイズ\", \"크기\", \"Taille\", \"Größe\", "
                          "\"Tamaño\", \"Dimensioni\", \"Tamanho\", \"Размер\"}\n"),
              std::string::npos);
    EXPECT_NE(script.find("\n        repeat with parentTitle in {\"排序方式\", \"Sort By\", "), std::string::npos);
    EXPECT_TRUE(script.ends_with("\n        error \"Sort menu item not found\"\n    end tell\nend tell"));
    EXPECT_EQ(Scripts::sortNames(FinderSortMode::label).size(), 11u);
}

TEST(FinderViewAppleScripts, ListEscapesQuotesButNotBackslashes) {
    EXPECT_EQ(Scripts::list({}), "{}");
    EXPECT_EQ(Scripts::list({"a\"b", "c\\d"}), "{\"a\\\"b\", \"c\\d\"}");
}

TEST(FinderViewAppleScripts, HiddenFilesValueWords) {
    for (const char* shown : {"1\n", "TRUE", " yes "}) {
        EXPECT_TRUE(Scripts::showsHiddenFiles(shown)) << shown;
    }
    for (const char* hidden : {"0", "FALSE", "", "no", "1 1"}) {
        EXPECT_FALSE(Scripts::showsHiddenFiles(hidden)) << hidden;
    }
}
