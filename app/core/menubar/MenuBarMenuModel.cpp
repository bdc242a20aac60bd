#include "app/core/menubar/MenuBarMenuModel.h"

#include "app/core/FeatureSettingsPersistence.h"
#include "app/core/FeatureSettingsStore.h"
#include "app/core/lists/CustomDestinationPersistence.h"
#include "app/core/lists/CustomDestinationStore.h"
#include "app/core/lists/CustomShortcutActionPersistence.h"
#include "app/core/preferences/AppVersion.h"
#include "shared/L10n.h"

#include <filesystem>

namespace quilla {
namespace {

MenuBarMenuItem placeholder(std::string title) {
    return {.title = std::move(title), .enabled = false};
}

bool existsOnDisk(const std::string& path) {
    std::error_code error;
    return !path.empty() && std::filesystem::exists(path, error);
}

std::string prefixedID(const CustomShortcutAction& action) {
    return (action.kind == CustomShortcutAction::Kind::script ? "runScript__" : "runShortcut__") + action.id;
}

} // namespace

std::vector<MenuBarMenuItem> MenuBarMenuModel::build(QuillaSettingsChangeNotifier& notifier) {
    std::vector<MenuBarMenuItem> menu;
    menu.push_back({.title = L10n::text<"打开 Quilla">(), .command = MenuBarCommand::resetAndOpenMainWindow});
    menu.push_back(quickOpenMenu(notifier));
    if (auto custom = customActionsMenu(notifier)) {
        menu.push_back(std::move(*custom));
    }
    menu.push_back(MenuBarMenuItem::separator());
    menu.push_back({.title = checkForUpdatesTitle(AppVersion::shortVersion(), AppVersion::build()),
                    .command = MenuBarCommand::checkForUpdates});
    menu.push_back(MenuBarMenuItem::separator());
    menu.push_back(
        {.title = L10n::text<"退出 Quilla">(), .command = MenuBarCommand::quitApp, .keyEquivalent = "q"});
    return menu;
}

MenuBarMenuItem MenuBarMenuModel::quickOpenMenu(QuillaSettingsChangeNotifier& notifier) {
    const FeatureSettingsPersistence persistence(notifier);
    const FeatureSettingsStore features(persistence);
    if (!features.isEnabled(QuillaFeature::quickOpen)) {
        return quickOpenMenu(features, {});
    }
    const CustomDestinationPersistence destinationPersistence(notifier);
    const CustomDestinationStore destinations(destinationPersistence);
    return quickOpenMenu(features, destinations.destinations(CustomDestinationKind::quickOpen));
}

MenuBarMenuItem MenuBarMenuModel::quickOpenMenu(const FeatureSettingsStore& features,
                                                const std::vector<CustomDestination>& places) {
    MenuBarMenuItem menu{.title = L10n::text<"打开">()};
    if (features.isEnabled(QuillaFeature::quickOpen)) {
        for (const auto& place : places) {
            if (existsOnDisk(place.path)) {
                menu.submenu.push_back({.title = place.name,
                                        .command = MenuBarCommand::openQuickOpenDestination,
                                        .representedValue = place.path});
            }
        }
        // The folder children are stood for by the places above.
        for (const auto& child : features.orderedChildren(QuillaFeature::quickOpen)) {
            const bool shown =
                child.actionID == "quickOpenClipboardPath" || child.actionID == "quickOpenTypedPath";
            if (shown && features.isChildEnabled(child.actionID)) {
                menu.submenu.push_back({.title = child.title,
                                        .command = MenuBarCommand::performQuickOpenAction,
                                        .representedValue = child.actionID});
            }
        }
    }
    if (menu.submenu.empty()) {
        menu.submenu.push_back(placeholder(L10n::text<"没有已启用的打开功能">()));
    }
    return menu;
}

std::optional<MenuBarMenuItem> MenuBarMenuModel::customActionsMenu(QuillaSettingsChangeNotifier& notifier) {
    const FeatureSettingsPersistence persistence(notifier);
    const FeatureSettingsStore features(persistence);
    if (!features.isEnabled(QuillaFeature::customActions)) {
        return std::nullopt;
    }
    MenuBarMenuItem menu{.title = L10n::text<"自定义动作">()};
    for (const auto& action : CustomShortcutActionPersistence::load()) {
        menu.submenu.push_back({.title = action.name,
                                .command = MenuBarCommand::performCustomAction,
                                .representedValue = prefixedID(action)});
    }
    if (menu.submenu.empty()) {
        menu.submenu.push_back(placeholder(L10n::text<"还没有自定义动作">()));
    }
    return menu;
}

std::string MenuBarMenuModel::checkForUpdatesTitle(std::string_view shortVersion, std::string_view build) {
    return L10n::format<"检查更新（当前版本 %@）">(std::string(shortVersion) + " (" + std::string(build) + ")");
}

} // namespace quilla
