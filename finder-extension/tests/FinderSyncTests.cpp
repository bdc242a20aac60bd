#include "finder-extension/core/FinderPlaces.h"
#include "finder-extension/core/FinderSync.h"
#include "finder-extension/tests/FinderTestDoubles.h"
#include "shared/catalog/FeatureCatalogDefaults.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <fstream>

namespace quilla {
namespace {

using test::destinationEntry;
using test::ExtensionFixture;
using test::itemTitled;
using test::titles;

plist::Value strings(std::vector<std::string> list) { return plist::makeStringArray(list); }

void writeFeatures(std::vector<std::string> enabled, bool grouped, const std::string& layout) {
    ExtensionFixture::writeSettings("FeatureSettings.plist",
                                    plist::Dict{{"enabledFeatureIDs", strings(std::move(enabled))},
                                                {"featureOrder", strings(defaultFeatureOrder())},
                                                {"groupsFeaturesUnderQuilla", grouped},
                                                {"menuLayout", layout}});
}

const FinderActionContext& contextOf(const FinderMenuItem& item) {
    return std::get<FinderActionContext>(item.representedObject);
}

std::vector<std::string> logLines(const std::filesystem::path& path) {
    std::vector<std::string> lines;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line.substr(line.find("] ") + 2));
    }
    return lines;
}

struct FinderSyncTest : ::testing::Test {
    ExtensionFixture fixture;
};

TEST_F(FinderSyncTest, DefaultMenuHasOneSubmenuPerFeatureInDefaultOrder) {
    const auto menu = fixture.menu({"/data/a.txt"}, "/data");
    EXPECT_EQ(menu.title, "Quilla");
    EXPECT_EQ(titles(menu), (std::vector<std::string>{"打开", "新建", "移动到", "复制到", "批量改名", "压缩与解压缩",
                                                      "定时清理", "处理图片", "处理 PDF", "复制名称与路径", "用应用打开",
                                                      "调整显示方式"}))
        << "customActions without actions contributes nothing";
    for (const auto& item : menu.items) {
        ASSERT_TRUE(item.submenu) << item.title;
        EXPECT_EQ(item.submenu->title, item.title);
        EXPECT_TRUE(std::holds_alternative<std::monostate>(item.representedObject));
    }
    const auto& copyPath = *itemTitled(menu, "复制名称与路径")->submenu;
    EXPECT_EQ(contextOf(copyPath.items[0]),
              (FinderActionContext{"copyFullPath", "复制完整路径", FinderFeatureAction::copyPath(FinderPathCopyFormat::fullPath),
                                   {"/data/a.txt"}, "/data", "", ""}));
}

TEST_F(FinderSyncTest, NoEnabledFeatureGivesOneDisabledItemWhateverTheGrouping) {
    for (const bool grouped : {false, true}) {
        writeFeatures({}, grouped, "expanded");
        const auto menu = fixture.menu();
        ASSERT_EQ(menu.items.size(), 1u);
        EXPECT_EQ(menu.items[0].title, "没有已启用功能");
        EXPECT_FALSE(menu.items[0].enabled);
        EXPECT_FALSE(menu.items[0].actionID());
    }
}

TEST_F(FinderSyncTest, FeaturesWithoutItemsAddNothingAndNoSeparator) {
    ExtensionFixture::writeSettings("FinderViewPresets.plist", plist::Array{});
    writeFeatures({"viewOptions", "customActions"}, false, "expanded");
    EXPECT_TRUE(fixture.menu().items.empty());
    writeFeatures({"viewOptions", "customActions"}, true, "expanded");
    auto menu = fixture.menu();
    ASSERT_EQ(titles(menu), std::vector<std::string>{"Quilla"});
    EXPECT_TRUE(menu.items[0].submenu->items.empty());
    writeFeatures({"viewOptions", "customActions"}, false, "collapsed");
    menu = fixture.menu();
    ASSERT_EQ(titles(menu), std::vector<std::string>{"调整显示方式"}) << "an empty preset submenu is still shown";
    EXPECT_TRUE(menu.items[0].submenu->items.empty());
}

TEST_F(FinderSyncTest, ExpandedLayoutSeparatesFeaturesAndGroupingWrapsThem) {
    writeFeatures({"copyPath", "archiveTools"}, false, "expanded");
    const std::vector<std::string> expanded{"压缩为 ZIP", "解压到当前文件夹", "解压到同名文件夹", "---",
                                            "复制完整路径", "复制文件名", "复制所在文件夹路径", "复制终端可用路径",
                                            "复制 Markdown 链接", "复制文件名列表"};
    EXPECT_EQ(titles(fixture.menu({"/a"})), expanded);
    writeFeatures({"copyPath", "archiveTools"}, true, "expanded");
    const auto grouped = fixture.menu({"/a"});
    ASSERT_EQ(titles(grouped), std::vector<std::string>{"Quilla"});
    EXPECT_EQ(titles(*grouped.items[0].submenu), expanded);
    const auto lines = logLines(paths::extensionLogPath());
    EXPECT_EQ(lines.back(), "menu grouped under Quilla topLevel=1 submenuItems=10");
}

TEST_F(FinderSyncTest, BackgroundClickEnablesWhatNeedsNoSelection) {
    ExtensionFixture::writeSettings("CustomDestinations.plist",
                                    plist::Dict{{"copy", plist::Array{destinationEntry("f", "Projects", "/srv/projects")}},
                                                {"openApplication", plist::Array{destinationEntry("e", "Editor", "/e.desktop")}}});
    writeFeatures({"copyFile", "copyPath", "openWith"}, false, "expanded");
    const auto menu = fixture.menu({}, "/data");
    auto enabled = [&](std::string_view title) { return itemTitled(menu, title)->enabled; };
    EXPECT_TRUE(enabled("复制完整路径"));
    EXPECT_TRUE(enabled("Editor"));
    EXPECT_FALSE(enabled("复制到桌面"));
    EXPECT_FALSE(enabled("在 Finder 中显示"));
    const auto* folder = itemTitled(menu, "复制到文件夹");
    ASSERT_TRUE(folder && folder->submenu);
    EXPECT_EQ(titles(*folder->submenu), std::vector<std::string>{"复制到Projects"});
    EXPECT_TRUE(folder->submenu->items[0].enabled);
    EXPECT_EQ(contextOf(folder->submenu->items[0]),
              (FinderActionContext{"copyFilesToFolder", "复制到Projects", FinderFeatureAction::copyToFolder(), {}, "/data",
                                   "/srv/projects", ""}));

    const auto nothing = fixture.menu();
    EXPECT_FALSE(itemTitled(nothing, "复制完整路径")->enabled);
    EXPECT_FALSE(itemTitled(nothing, "Editor")->enabled);
}

TEST_F(FinderSyncTest, DestinationSubmenusAppearOnlyForTheUsersOwnFolders) {
    const auto places = FinderPlaces::current();
    writeFeatures({"copyFile", "organizeFile"}, false, "collapsed");
    ExtensionFixture::writeSettings(
        "CustomDestinations.plist",
        plist::Dict{{"copy", plist::Array{destinationEntry("d", "Downloads", places.downloads.string())}},
                    {"move", plist::Array{destinationEntry("d", "Downloads", places.downloads.string()),
                                          destinationEntry("n", "NAS", "/mnt/nas")}}});
    const auto menu = fixture.menu({"/a"});
    EXPECT_FALSE(itemTitled(*itemTitled(menu, "复制到")->submenu, "复制到文件夹"));
    const auto* move = itemTitled(*itemTitled(menu, "移动到")->submenu, "移动到文件夹");
    ASSERT_TRUE(move);
    EXPECT_EQ(titles(*move->submenu), std::vector<std::string>{"移动到NAS"});
    EXPECT_EQ(move->submenu->items[0].actionID(), "moveFilesToFolder");
}

TEST_F(FinderSyncTest, QuickOpenShowsDestinationsThenThePathPrompts) {
    ExtensionFixture::writeSettings(
        "CustomDestinations.plist",
        plist::Dict{{"quickOpen", plist::Array{destinationEntry("p", "Projects", "/srv/projects")}}});
    writeFeatures({"quickOpen"}, false, "expanded");
    const auto menu = fixture.menu();
    EXPECT_EQ(titles(menu), (std::vector<std::string>{"Projects", "打开剪贴板路径", "打开指定路径..."}));
    EXPECT_EQ(contextOf(menu.items[0]),
              (FinderActionContext{"quickOpenPath", "Projects", FinderFeatureAction::openFolder(), {}, std::nullopt,
                                   "/srv/projects", ""}));
    EXPECT_TRUE(menu.items[0].enabled);
}

TEST_F(FinderSyncTest, ListItemsCarryTheirIdentity) {
    ExtensionFixture::writeSettings(
        "CustomShortcutActions.plist",
        plist::Array{plist::Dict{{"id", "S1"}, {"name", "Resize"}, {"kind", "shortcut"}, {"shortcutName", "Resize"}},
                     plist::Dict{{"id", "S2"}, {"name", "Upload"}, {"kind", "script"}, {"scriptPath", "/u.sh"}}});
    ExtensionFixture::writeSettings(
        "CustomDestinations.plist",
        plist::Dict{{"openApplication", plist::Array{destinationEntry("E1", "Editor", "/e.desktop")}}});
    writeFeatures({"openWith", "viewOptions", "customActions"}, false, "expanded");

    const auto menu = fixture.menu({"/a b/\"c\".txt"}, "/a b");
    const auto* editor = itemTitled(menu, "Editor");
    EXPECT_EQ(editor->identifier, "openWithApplicationPath__E1");
    EXPECT_EQ(contextOf(*editor).destinationPath, "/e.desktop");

    const auto* preset = itemTitled(menu, "图标 · 按名称");
    EXPECT_EQ(preset->tag, 700001);
    EXPECT_EQ(preset->identifier, "finderViewPreset__icon-name");
    EXPECT_EQ(std::get<FinderMenuDictionary>(preset->representedObject),
              (FinderMenuDictionary{"finderViewPreset__icon-name", "图标 · 按名称", {"/a b/\"c\".txt"}, "/a b", "", ""}));

    const auto* upload = itemTitled(menu, "Upload");
    EXPECT_EQ(upload->identifier, "runScript__S2");
    EXPECT_EQ(contextOf(*upload).action, FinderFeatureAction::requiresSelection());
    EXPECT_TRUE(upload->enabled);
    EXPECT_FALSE(itemTitled(fixture.menu({}, "/a b"), "Upload")->enabled);

    const auto lines = logLines(paths::extensionLogPath());
    EXPECT_EQ(lines[lines.size() - 6], "menu kind=0 selected=[] target=/a b grouped=false layout=expanded");
    EXPECT_EQ(lines[lines.size() - 5],
              "view preset menu presets=[\"列表 · 最近修改:list-modified\", \"图标 · 按名称:icon-name\", "
              "\"分栏 · 按名称:column-name\"]");
    EXPECT_EQ(lines[lines.size() - 3], "view preset item title=图标 · 按名称 actionID=finderViewPreset__icon-name tag=700001");
    EXPECT_EQ(lines.back(), "menu topLevel=9"); // 2 open-with, 3 presets, 2 actions, 2 separators
    EXPECT_EQ(paths::extensionLogPath().parent_path(), paths::extensionSupportDir());
    EXPECT_FALSE(std::filesystem::exists(paths::stateHome() / "quilla" / "quilla-finder-extension.log"))
        << "the extension keeps one log, not a second copy";
}

// Select-all in a large folder: every item refers to one shared copy of the selection, the menu's
// log line names only the first paths, and a click still queues every selected path.
TEST_F(FinderSyncTest, ALargeSelectionIsSharedLoggedBoundedAndQueuedWhole) {
    std::vector<std::string> selection;
    for (int i = 0; i < 10000; ++i) {
        selection.push_back("/data/file " + std::to_string(i) + ".txt");
    }
    const auto menu = fixture.menu(selection, "/data");
    ASSERT_EQ(titles(menu).size(), 12u);
    const auto& copyPath = *itemTitled(menu, "复制名称与路径")->submenu;
    const auto& rename = *itemTitled(menu, "批量改名")->submenu;
    EXPECT_EQ(contextOf(copyPath.items[0]).selectedPaths.paths(), selection);
    EXPECT_EQ(&contextOf(copyPath.items[0]).selectedPaths.paths(), &contextOf(rename.items[0]).selectedPaths.paths());

    const auto lines = logLines(paths::extensionLogPath());
    const auto menuLine = std::find_if(lines.rbegin(), lines.rend(), [](const auto& l) { return l.starts_with("menu kind="); });
    ASSERT_NE(menuLine, lines.rend());
    EXPECT_NE(menuLine->find("\"/data/file 19.txt\", … (9980 more)] target=/data"), std::string::npos) << *menuLine;
    EXPECT_EQ(menuLine->find("file 20.txt"), std::string::npos);

    fixture.host.setSelection({}, std::nullopt); // the click must not depend on the host still knowing it
    const auto queued = fixture.sync->performFeatureChild(copyPath.items[0]);
    ASSERT_TRUE(queued);
    std::ifstream in(*queued);
    EXPECT_EQ(nlohmann::json::parse(in)["selectedPaths"].get<std::vector<std::string>>(), selection);
    for (const auto& line : logLines(paths::extensionLogPath())) {
        EXPECT_LT(line.size(), 2000u) << line.substr(0, 80);
    }
}

TEST_F(FinderSyncTest, EveryChangeShowsInTheNextMenu) {
    writeFeatures({"copyPath"}, false, "collapsed");
    EXPECT_EQ(titles(fixture.menu()), std::vector<std::string>{"复制名称与路径"});
    // Same size, same second: only the content differs.
    writeFeatures({"openWith"}, false, "collapsed");
    EXPECT_EQ(titles(fixture.menu()), std::vector<std::string>{"用应用打开"});
    std::filesystem::remove(ExtensionFixture::settingsPath("FeatureSettings.plist"));
    EXPECT_EQ(fixture.menu().items.size(), 12u);
    ExtensionFixture::writeRaw("FeatureSettings.plist", "\x00\x01garbage");
    EXPECT_EQ(fixture.menu().items.size(), 12u);
}

TEST_F(FinderSyncTest, WatchedFoldersIncludeTheHomeAndStandardFoldersWithVariants) {
    const auto home = fixture.home.home();
    std::filesystem::create_directories(home / "Desktop");
    std::filesystem::create_symlink(home / "Desktop", home / "DesktopLink");
    writeFileAtomically(paths::configHome() / "user-dirs.dirs", "XDG_DESKTOP_DIR=\"$HOME/DesktopLink/\"\n");
    fixture.sync->refreshMonitoredDirectories("test");
    const auto& watched = fixture.host.directoryPaths();
    for (const auto& expected :
         {home.string(), (home / "DesktopLink/").string(), (home / "DesktopLink").string(), (home / "Desktop").string(),
          (home / "Documents").string(), (home / "Videos").string(), paths::applicationsDir().string()}) {
        EXPECT_NE(std::find(watched.begin(), watched.end(), expected), watched.end()) << expected;
    }
    EXPECT_TRUE(std::is_sorted(watched.begin(), watched.end()));
}

TEST_F(FinderSyncTest, SettingsChangedNotificationsRefreshTheWatchedFolders) {
    struct Case {
        std::map<std::string, std::string> userInfo;
        std::optional<std::string> object;
        std::string reason;
    };
    for (const auto& c : std::vector<Case>{{{{"reason", "custom-destinations"}}, "x", "custom-destinations"},
                                           {{}, "feature-settings", "feature-settings"},
                                           {{}, "", "unknown"},
                                           {{{"other", "y"}}, std::nullopt, "unknown"}}) {
        fixture.systemLog.messages.clear();
        fixture.sync->handleSettingsChanged(c.userInfo, c.object);
        EXPECT_EQ(logLines(paths::extensionLogPath()).back(), "settings changed notification reason=" + c.reason);
        ASSERT_FALSE(fixture.systemLog.messages.empty());
        EXPECT_TRUE(fixture.systemLog.messages.back().starts_with("FinderSync refreshed directories. reason=settings-changed:" +
                                                                   c.reason + ", count="));
    }
}

} // namespace
} // namespace quilla
