#include "app/core/FeatureSettingsStore.h"
#include "app/core/executor/FinderActionExecutionError.h"
#include "app/core/lists/CustomDestinationPersistence.h"
#include "app/core/lists/CustomShortcutActionPersistence.h"
#include "app/core/menubar/MenuBarActions.h"
#include "app/core/menubar/MenuBarMenuModel.h"
#include "app/core/preferences/AppVersion.h"
#include "app/core/tests/fakes/FakePlatform.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestEnv.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace quilla;
namespace fs = std::filesystem;

namespace {

// A menu as lines: "title", "-" for separators, "  title" for submenu entries, "(disabled)" marks.
std::vector<std::string> outline(const std::vector<MenuBarMenuItem>& items, const std::string& indent = "") {
    std::vector<std::string> lines;
    for (const auto& item : items) {
        lines.push_back(item.isSeparator ? indent + "-"
                                         : indent + item.title + (item.enabled ? "" : " (disabled)"));
        const auto sub = outline(item.submenu, indent + "  ");
        lines.insert(lines.end(), sub.begin(), sub.end());
    }
    return lines;
}

class MenuBarMenuModelTest : public ::testing::Test {
protected:
    test::ScopedHome home;
    test::TempDir places;
    RecordingSettingsChangeNotifier notifier;

    void changeFeatures(const std::function<void(FeatureSettingsStore&)>& change) {
        RecordingSettingsChangeNotifier quiet;
        const FeatureSettingsPersistence persistence(quiet);
        FeatureSettingsStore store(persistence);
        change(store);
    }
    void setQuickOpenPlaces(const std::vector<CustomDestination>& list) {
        RecordingSettingsChangeNotifier quiet;
        ASSERT_TRUE(CustomDestinationPersistence(quiet).save({{"quickOpen", list}}));
    }
    void setCustomActions(const std::vector<CustomShortcutAction>& list) {
        RecordingSettingsChangeNotifier quiet;
        ASSERT_TRUE(CustomShortcutActionPersistence(quiet).save(list));
    }
};

} // namespace

TEST_F(MenuBarMenuModelTest, TopLevelItemsTheirOrderAndCommands) {
    changeFeatures([](FeatureSettingsStore& s) { s.setEnabled(true, QuillaFeature::customActions); });
    const auto menu = MenuBarMenuModel::build(notifier);
    std::vector<std::string> top;
    for (const auto& item : menu)
        top.push_back(item.isSeparator ? "-" : item.title);
    const std::string updates =
        MenuBarMenuModel::checkForUpdatesTitle(AppVersion::shortVersion(), AppVersion::build());
    EXPECT_EQ(top, (std::vector<std::string>{"打开 Quilla", "打开", "自定义动作", "-", updates, "-",
                                             "退出 Quilla"}));
    EXPECT_EQ(menu[0].command, MenuBarCommand::resetAndOpenMainWindow);
    EXPECT_EQ(menu[4].command, MenuBarCommand::checkForUpdates);
    EXPECT_EQ(menu[6].command, MenuBarCommand::quitApp);
    EXPECT_EQ(menu[6].keyEquivalent, "q");
    EXPECT_EQ(MenuBarMenuModel::checkForUpdatesTitle("1.4", "27"), "检查更新（当前版本 1.4 (27)）");

    // Opening the menu rewrites the feature settings and announces it, once per submenu.
    EXPECT_EQ(std::count(notifier.reasons.begin(), notifier.reasons.end(), "feature-settings"), 2);
}

TEST_F(MenuBarMenuModelTest, QuickOpenFollowsTheFeatureItsChildrenAndExistingPlaces) {
    const auto kept = places / "家";
    fs::create_directories(kept);
    const std::vector<CustomDestination> list{{"1", "家", kept.string()},
                                              {"2", "没了", (places / "gone").string()}};
    struct Case {
        const char* name;
        bool feature;
        bool clipboard;
        bool typed;
        bool typedFirst; // the user's order of the two children
        std::vector<CustomDestination> places;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"feature off", false, true, true, false, list, {"没有已启用的打开功能 (disabled)"}},
        {"both children on", true, true, true, false, list, {"家", "打开剪贴板路径", "打开指定路径..."}},
        {"user's order", true, true, true, true, list, {"家", "打开指定路径...", "打开剪贴板路径"}},
        {"children off", true, false, false, false, list, {"家"}},
        {"no existing place, children off",
         true,
         false,
         false,
         false,
         {list[1]},
         {"没有已启用的打开功能 (disabled)"}},
    };
    for (const auto& c : cases) {
        changeFeatures([&](FeatureSettingsStore& s) {
            s.setEnabled(c.feature, QuillaFeature::quickOpen);
            s.setChildEnabled(c.clipboard, "quickOpenClipboardPath");
            s.setChildEnabled(c.typed, "quickOpenTypedPath");
            const auto children = s.orderedChildren(QuillaFeature::quickOpen);
            const auto at = [&](const char* id) {
                return static_cast<std::size_t>(
                    std::find_if(children.begin(), children.end(),
                                 [&](const auto& ch) { return ch.actionID == id; }) -
                    children.begin());
            };
            if ((at("quickOpenTypedPath") < at("quickOpenClipboardPath")) != c.typedFirst) {
                s.moveChildren(QuillaFeature::quickOpen, {at("quickOpenTypedPath")},
                               at("quickOpenClipboardPath"));
            }
        });
        const FeatureSettingsPersistence persistence(notifier);
        const FeatureSettingsStore features(persistence);
        const auto menu = MenuBarMenuModel::quickOpenMenu(features, c.places);
        EXPECT_EQ(menu.title, "打开");
        EXPECT_EQ(outline(menu.submenu), c.expected) << c.name;
        for (const auto& item : menu.submenu) {
            if (!item.enabled) {
                EXPECT_EQ(item.command, MenuBarCommand::none);
            } else if (item.title == "家") {
                EXPECT_EQ(item.command, MenuBarCommand::openQuickOpenDestination);
                EXPECT_EQ(item.representedValue, kept.string());
            } else {
                EXPECT_EQ(item.command, MenuBarCommand::performQuickOpenAction);
                EXPECT_TRUE(item.representedValue->starts_with("quickOpen")) << *item.representedValue;
            }
        }
    }
}

TEST_F(MenuBarMenuModelTest, APlaceWhoseFolderWasDeletedLeavesTheNextMenu) {
    const auto kept = places / "项目";
    fs::create_directories(kept);
    setQuickOpenPlaces({{"P", "项目", kept.string()}});
    const auto titles = [&] { return outline(MenuBarMenuModel::quickOpenMenu(notifier).submenu); };
    const auto before = titles();
    EXPECT_NE(std::find(before.begin(), before.end(), "项目"), before.end());
    fs::remove(kept);
    const auto after = titles();
    EXPECT_EQ(std::find(after.begin(), after.end(), "项目"), after.end());
    EXPECT_EQ(after.size() + 1, before.size());
}

TEST_F(MenuBarMenuModelTest, CustomActionsAreLeftOutWhenOffAndShowAPlaceholderWhenEmpty) {
    changeFeatures([](FeatureSettingsStore& s) { s.setEnabled(false, QuillaFeature::customActions); });
    setCustomActions({{"S1", "整理脚本", CustomShortcutAction::Kind::script, "", "/bin/true"}});
    EXPECT_FALSE(MenuBarMenuModel::customActionsMenu(notifier));
    for (const auto& item : MenuBarMenuModel::build(notifier)) {
        EXPECT_NE(item.title, "自定义动作");
    }

    changeFeatures([](FeatureSettingsStore& s) { s.setEnabled(true, QuillaFeature::customActions); });
    setCustomActions({});
    EXPECT_EQ(outline(MenuBarMenuModel::customActionsMenu(notifier)->submenu),
              std::vector<std::string>{"还没有自定义动作 (disabled)"});

    setCustomActions({{"S1", "整理脚本", CustomShortcutAction::Kind::script, "", "/bin/true"},
                      {"K2", "发邮件", CustomShortcutAction::Kind::shortcut, "mail", ""}});
    const auto menu = *MenuBarMenuModel::customActionsMenu(notifier);
    ASSERT_EQ(menu.submenu.size(), 2u);
    EXPECT_EQ(menu.submenu[0].title, "整理脚本");
    EXPECT_EQ(menu.submenu[0].representedValue, "runScript__S1");
    EXPECT_EQ(menu.submenu[1].representedValue, "runShortcut__K2");
    EXPECT_EQ(menu.submenu[1].command, MenuBarCommand::performCustomAction);
}

TEST(MenuBarActions, EachCommandCallsTheExecutorAsTheMenuMeansIt) {
    test::FakeFinderScripting finder;
    finder.front = fs::path("/desk");
    finder.selected = {"/s"};
    std::vector<ActionRequest> calls;
    MenuBarActions actions(
        [&](const ActionRequest& request) -> ActionResult {
            calls.push_back(request);
            if (request.actionID == "quickOpenTypedPath")
                throw FinderActionExecutionError::noClipboardPath();
            return {};
        },
        finder);

    EXPECT_EQ(actions.perform(MenuBarCommand::openQuickOpenDestination, "/place"), std::nullopt);
    EXPECT_EQ(actions.perform(MenuBarCommand::performCustomAction, "runScript__S1"), std::nullopt);
    const auto error = actions.perform(MenuBarCommand::performQuickOpenAction, "quickOpenTypedPath");
    ASSERT_TRUE(error);
    EXPECT_EQ(*error, FinderActionExecutionError::noClipboardPath().errorDescription());
    // Without a value, or for window commands, nothing runs.
    EXPECT_EQ(actions.perform(MenuBarCommand::performQuickOpenAction, std::nullopt), std::nullopt);
    EXPECT_EQ(actions.perform(MenuBarCommand::quitApp, "x"), std::nullopt);

    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].actionID, "quickOpenPath");
    EXPECT_EQ(calls[0].destinationPath, fs::path("/place"));
    EXPECT_TRUE(calls[0].selectedPaths.empty());
    EXPECT_EQ(calls[0].targetedPath, std::nullopt);
    EXPECT_EQ(calls[1].actionID, "runScript__S1");
    EXPECT_EQ(calls[1].selectedPaths, std::vector<fs::path>{"/s"});
    EXPECT_EQ(calls[1].targetedPath, fs::path("/desk"));
    EXPECT_EQ(calls[2].destinationPath, std::nullopt);
}
