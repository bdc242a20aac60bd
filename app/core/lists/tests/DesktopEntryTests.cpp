#include "app/core/DesktopEntry.h"
#include "app/core/lists/tests/ListsTestSupport.h"
#include "shared/QuillaPaths.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestEnv.h"

#include <gtest/gtest.h>

#include <set>

using namespace quilla;

TEST(DesktopEntryTest, ReadsOnlyTheUnlocalisedKeysOfTheDesktopEntryGroup) {
    const auto entry = DesktopEntry::parse("# comment\n"
                                           "[Other Group]\nName=Wrong\n"
                                           "[Desktop Entry]\r\n"
                                           "Name[zh_CN]=文本编辑器\n"
                                           "Name = Text\\sEditor \r\n"
                                           "Name=Second\n"
                                           "Exec=editor --path=\\\\x %U\n"
                                           "NoDisplay=true\n"
                                           "[Desktop Action new]\nHidden=true\n",
                                           "/x/editor.desktop");
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->name, "Text Editor");
    EXPECT_EQ(entry->exec, "editor --path=\\x %U");
    EXPECT_TRUE(entry->noDisplay);
    EXPECT_FALSE(entry->hidden);
    EXPECT_EQ(entry->path, "/x/editor.desktop");
}

TEST(DesktopEntryTest, TextWithoutTheGroupIsNoEntry) {
    EXPECT_FALSE(DesktopEntry::parse("Name=Loose\n"));
    EXPECT_FALSE(DesktopEntry::parse(""));
    EXPECT_FALSE(DesktopEntry::parse("[Desktop Entry"));
    EXPECT_TRUE(DesktopEntry::parse("[Desktop Entry]"));
}

TEST(DesktopEntryTest, DisplayNameFallsBackToTheFileName) {
    auto entry = DesktopEntry::parse("[Desktop Entry]\nExec=x\n", "/apps/org.example.Tool.desktop");
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->displayName(), "org.example.Tool");
}

class DesktopEntryLookupTest : public ::testing::Test {
protected:
    test::ScopedHome home;
    test::TempDir system;
    test::TempDir local;
    test::ScopedEnv dataDirs{"XDG_DATA_DIRS", "relative/ignored:" + local.path().string() + ":" + system.path().string()};

    void install(const test::TempDir& dir, const std::string& id, const std::string& text) {
        test::writeFile(dir / ("applications/" + id), text);
    }
};

TEST_F(DesktopEntryLookupTest, FirstDataDirectoryWinsAndTheUsersOwnComesFirst) {
    install(system, "tool.desktop", test::desktopEntryText("System"));
    EXPECT_EQ(DesktopEntry::find("tool.desktop")->name, "System");
    install(local, "tool.desktop", test::desktopEntryText("Local"));
    EXPECT_EQ(DesktopEntry::find("tool.desktop")->name, "Local");
    test::writeFile(paths::dataHome() / "applications/tool.desktop", test::desktopEntryText("Mine"));
    const auto found = DesktopEntry::find("tool.desktop");
    EXPECT_EQ(found->name, "Mine");
    EXPECT_TRUE(DesktopEntry::isApplicationPath(found->path));
}

TEST_F(DesktopEntryLookupTest, AHiddenCopyRemovesTheEntryItShadows) {
    install(system, "tool.desktop", test::desktopEntryText("System"));
    install(local, "tool.desktop", test::desktopEntryText("Gone", "Hidden=true\n"));
    EXPECT_FALSE(DesktopEntry::find("tool.desktop"));
}

TEST_F(DesktopEntryLookupTest, IdsThatAreNotPlainFileNamesFindNothing) {
    install(system, "tool.desktop", test::desktopEntryText("System"));
    for (const char* id : {"", ".desktop", "../applications/tool.desktop", "tool", "sub/tool.desktop", "missing.desktop"}) {
        EXPECT_FALSE(DesktopEntry::find(id)) << id;
    }
    EXPECT_FALSE(DesktopEntry::isApplicationPath(system / "applications"));
    EXPECT_FALSE(DesktopEntry::isApplicationPath(system / "applications/missing.desktop"));
}

TEST(DesktopEntryDirsTest, WithoutDataDirsTheStandardOnesAreSearched) {
    test::ScopedEnv unset("XDG_DATA_DIRS", std::nullopt);
    const auto dirs = DesktopEntry::applicationDirs();
    ASSERT_EQ(dirs.size(), 3u);
    EXPECT_EQ(dirs[1], "/usr/local/share/applications");
    EXPECT_EQ(dirs[2], "/usr/share/applications");
}

TEST(DesktopEntryTest, IconIsReadLikeTheOtherKeys) {
    auto entry = DesktopEntry::parse("[Desktop Entry]\nIcon[zh_CN]=localised\nIcon = org.example\\sTool\nIcon=second\n");
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->icon, "org.example Tool");
}

TEST_F(DesktopEntryLookupTest, InstalledListsEachVisibleIdOnceFromItsWinningFolder) {
    install(system, "tool.desktop", test::desktopEntryText("System tool"));
    install(local, "tool.desktop", test::desktopEntryText("Local tool"));
    install(system, "gone.desktop", test::desktopEntryText("System gone"));
    install(local, "gone.desktop", test::desktopEntryText("Hidden gone", "Hidden=true\n"));
    install(system, "helper.desktop", test::desktopEntryText("Helper", "NoDisplay=true\n"));
    install(system, "kde/editor.desktop", test::desktopEntryText("Sub editor"));
    install(local, "kde-editor.desktop", test::desktopEntryText("Flat editor")); // same id, earlier folder
    install(system, "notes.txt", test::desktopEntryText("Not an entry"));
    install(system, "broken.desktop", "no group here\n");

    std::set<std::string> names;
    for (const auto& entry : DesktopEntry::installed()) {
        EXPECT_TRUE(names.insert(entry.name).second) << entry.name;
    }
    EXPECT_EQ(names, (std::set<std::string>{"Local tool", "Flat editor"}));
}
