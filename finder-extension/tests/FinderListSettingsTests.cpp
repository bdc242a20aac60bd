#include "finder-extension/core/FinderCustomDestinationSettings.h"
#include "finder-extension/core/FinderCustomShortcutActionSettings.h"
#include "finder-extension/core/FinderViewPresetSettings.h"
#include "finder-extension/tests/FinderTestDoubles.h"

#include <gtest/gtest.h>

namespace quilla {
namespace {

using Kind = FinderCustomDestinationKind;
using test::destinationEntry;
using test::ExtensionFixture;

std::vector<std::string> destinationIDs(Kind kind) {
    std::vector<std::string> result;
    for (const auto& destination : FinderCustomDestinationSettings::destinations(kind)) {
        result.push_back(destination.id);
    }
    return result;
}

std::filesystem::path installApplication(const std::filesystem::path& dataDir, const std::string& fileID,
                                         const std::string& body) {
    const auto path = dataDir / "applications" / fileID;
    writeFileAtomically(path, body);
    return path;
}

struct ListSettingsTest : ::testing::Test {
    ExtensionFixture fixture;
    std::filesystem::path systemData = fixture.home.home() / "system-data";
    std::filesystem::path userData = paths::dataHome();
};

TEST_F(ListSettingsTest, WithoutAFileTheDefaultsAreOffered) {
    const auto editor =
        installApplication(systemData, "org.gnome.TextEditor.desktop", "[Desktop Entry]\nName=Text Editor\n");
    installApplication(systemData, "libreoffice-calc.desktop", "[Desktop Entry]\nName=LibreOffice Calc\n");
    const auto places = FinderPlaces::current();

    EXPECT_EQ(destinationIDs(Kind::copy), (std::vector<std::string>{"桌面", "下载", "文稿"}));
    EXPECT_EQ(destinationIDs(Kind::move), (std::vector<std::string>{"桌面", "下载", "文稿"}));
    EXPECT_EQ(destinationIDs(Kind::quickOpen),
              (std::vector<std::string>{"home", "桌面", "下载", "文稿", "pictures", "applications"}));
    EXPECT_EQ(FinderCustomDestinationSettings::destinations(Kind::copy)[1].path, places.downloads.string());
    const auto applications = FinderCustomDestinationSettings::destinations(Kind::openApplication);
    ASSERT_EQ(applications.size(), 2u);
    EXPECT_EQ(applications[0], (FinderCustomDestination{"textedit", "Text Editor", editor.string()}));
    EXPECT_EQ(applications[1].id, "numbers");
}

TEST_F(ListSettingsTest, DesktopEntriesFollowTheDataFolderPrecedence) {
    installApplication(systemData, "org.gnome.Evince.desktop", "[Desktop Entry]\nName=Document Viewer\n");
    installApplication(userData, "org.gnome.Evince.desktop", "[Desktop Entry]\nName=Viewer\nHidden=true\n");
    installApplication(systemData, "org.gnome.Papers.desktop", "[Desktop Entry]\nName=Papers\n");
    const auto local = installApplication(userData, "org.gnome.gedit.desktop", "[Desktop Entry]\n# no name\n");
    const auto applications = FinderCustomDestinationSettings::destinations(Kind::openApplication);
    ASSERT_EQ(applications.size(), 2u);
    EXPECT_EQ(applications[0].name, "Papers") << "a Hidden user copy removes the system viewer";
    EXPECT_EQ(applications[1], (FinderCustomDestination{"textedit", "org.gnome.gedit", local.string()}));
}

TEST_F(ListSettingsTest, StoredApplicationsComeAfterTheBuiltInOnes) {
    const auto viewer = installApplication(systemData, "org.gnome.Evince.desktop", "[Desktop Entry]\nName=Viewer\n");
    ExtensionFixture::writeSettings(
        "CustomDestinations.plist",
        plist::Dict{{"openApplication",
                     plist::Array{destinationEntry("A", "App A", "/opt/a.desktop"),
                                  destinationEntry("preview", "Old viewer", "/old/viewer.desktop"),
                                  destinationEntry("vscode", "Code", "/anywhere.desktop"),
                                  destinationEntry("X", "Cursor", "/Applications/Cursor.app"),
                                  destinationEntry("Y", "Code", "/usr/share/applications/code.desktop"),
                                  destinationEntry("Z", "Same file", viewer.string())}}});
    EXPECT_EQ(destinationIDs(Kind::openApplication), (std::vector<std::string>{"preview", "A"}));
    EXPECT_EQ(destinationIDs(Kind::copy), (std::vector<std::string>{"桌面", "下载", "文稿"}))
        << "a kind missing from the file keeps its defaults";
}

TEST_F(ListSettingsTest, StoredListsAreTakenAsTheyAre) {
    ExtensionFixture::writeSettings(
        "CustomDestinations.plist",
        plist::Dict{{"quickOpen", plist::Array{}},
                    {"copy", plist::Array{destinationEntry("1", "One", "/one"),
                                          plist::Dict{{"id", "2"}, {"name", "No path"}},
                                          destinationEntry("3", "Three", "/three")}},
                    {"unknownKind", plist::Array{}}});
    EXPECT_TRUE(destinationIDs(Kind::quickOpen).empty());
    EXPECT_EQ(destinationIDs(Kind::copy), (std::vector<std::string>{"1", "3"}));

    // One value of another type anywhere makes the whole file unusable.
    ExtensionFixture::writeSettings("CustomDestinations.plist",
                                    plist::Dict{{"quickOpen", plist::Array{}},
                                                {"copy", plist::Array{plist::Dict{{"id", "1"}, {"name", "One"},
                                                                                  {"path", "/one"}, {"n", 3}}}}});
    EXPECT_EQ(destinationIDs(Kind::quickOpen).size(), 6u);
    EXPECT_EQ(destinationIDs(Kind::copy).size(), 3u);
}

TEST_F(ListSettingsTest, BuiltInFileDestinationsAreTheUsersStandardFolders) {
    const auto places = FinderPlaces::current();
    const FinderCustomDestination downloads{"x", "Downloads", places.downloads.string() + "/"};
    const FinderCustomDestination other{"y", "Other", "/srv/other"};
    EXPECT_TRUE(FinderCustomDestinationSettings::isBuiltInFileDestination(downloads, Kind::copy, places));
    EXPECT_TRUE(FinderCustomDestinationSettings::isBuiltInFileDestination(downloads, Kind::move, places));
    EXPECT_FALSE(FinderCustomDestinationSettings::isBuiltInFileDestination(downloads, Kind::quickOpen, places));
    EXPECT_FALSE(FinderCustomDestinationSettings::isBuiltInFileDestination(other, Kind::copy, places));
}

TEST_F(ListSettingsTest, CustomActionsKeepOnlyRunnableEntries) {
    ExtensionFixture::writeSettings(
        "CustomShortcutActions.plist",
        plist::Array{
            plist::Dict{{"id", "1"}, {"name", "Script without path"}, {"kind", "script"}},
            plist::Dict{{"id", "2"}, {"name", "Odd kind"}, {"kind", "macro"}, {"shortcutName", "Resize"}},
            plist::Dict{{"id", "3"}, {"name", "Script"}, {"kind", "script"}, {"scriptPath", "/s.sh"}},
            plist::Dict{{"name", "No id"}, {"shortcutName", "X"}},
            plist::Dict{{"id", "5"}, {"name", "Empty shortcut"}, {"shortcutName", ""}},
        });
    const auto actions = FinderCustomShortcutActionSettings::actions();
    ASSERT_EQ(actions.size(), 2u);
    EXPECT_EQ(actions[0].kind, FinderCustomShortcutAction::Kind::shortcut);
    EXPECT_EQ(actions[0].actionID(), "runShortcut__2");
    EXPECT_EQ(actions[1].actionID(), "runScript__3");

    for (const plist::Value& damaged : {plist::Value(plist::Dict{}), plist::Value(plist::Array{plist::Dict{
                                                                          {"id", "1"}, {"name", "n"},
                                                                          {"shortcutName", "s"}, {"extra", true}}})}) {
        ExtensionFixture::writeSettings("CustomShortcutActions.plist", damaged);
        EXPECT_TRUE(FinderCustomShortcutActionSettings::actions().empty());
    }
}

TEST_F(ListSettingsTest, PresetsFallBackToTheDefaultsOnlyWithoutAUsableFile) {
    EXPECT_EQ(FinderViewPresetSettings::presets(), FinderViewPresetSettings::defaultPresets());
    ExtensionFixture::writeSettings("FinderViewPresets.plist", plist::Array{});
    EXPECT_TRUE(FinderViewPresetSettings::presets().empty());
    ExtensionFixture::writeSettings(
        "FinderViewPresets.plist",
        plist::Array{plist::Dict{{"id", "a"}, {"name", "列表 · 按修改日期 3"}, {"viewMode", "list"}, {"sortMode", "size"}},
                     plist::Dict{{"id", "b"}, {"name", "No sort"}, {"viewMode", "list"}},
                     plist::Dict{{"id", "c"}, {"name", "c"}, {"viewMode", "cover"}, {"sortMode", "x"}}});
    EXPECT_EQ(FinderViewPresetSettings::presets(),
              (std::vector<FinderViewPresetSetting>{{"a", "列表 · 按修改日期", "list", "size"}, {"c", "c", "cover", "x"}}));
    ExtensionFixture::writeSettings("FinderViewPresets.plist", plist::Array{plist::Dict{{"id", 1}}});
    EXPECT_EQ(FinderViewPresetSettings::presets().size(), 3u);
}

TEST(FinderViewPresetNames, AutoNumberedNamesLoseTheirNumber) {
    const std::vector<std::pair<std::string, std::string>> cases{
        {"列表 · 最近修改 2", "列表 · 最近修改"},
        {"图标 · 按名称 12", "图标 · 按名称"},
        {"a · b · c 3", "a · b · c"},
        {" · a · b 3", " · a · b"},
        {"列表 2", "列表 2"},
        {"列表 · 最近修改", "列表 · 最近修改"},
        {"列表 · 最近修改 ", "列表 · 最近修改 "},
        {" · x 2", " · x 2"},
        {"x ·  2", "x ·  2"},
        {"a\n · b 2", "a\n · b 2"},
        {"a · b2", "a · b2"},
        {"2", "2"},
        {"", ""},
    };
    for (const auto& [name, expected] : cases) {
        EXPECT_EQ(FinderViewPresetSettings::normalizeAutoNumberedName(name), expected) << name;
    }
    const std::string longName = std::string(200000, 'x') + " · y 7";
    EXPECT_EQ(FinderViewPresetSettings::normalizeAutoNumberedName(longName), longName.substr(0, longName.size() - 2));
}

} // namespace
} // namespace quilla
