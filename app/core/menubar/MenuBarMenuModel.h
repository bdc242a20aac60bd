#pragma once

#include "app/core/lists/CustomDestination.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quilla {

class QuillaSettingsChangeNotifier;
class FeatureSettingsStore;

/// What choosing a tray menu item does.
enum class MenuBarCommand {
    none,                     ///< disabled placeholders and submenu holders
    resetAndOpenMainWindow,   ///< "打开 Quilla"
    openQuickOpenDestination, ///< a quick-open place; the value is its path
    performQuickOpenAction,   ///< a quick-open child; the value is its action ID
    performCustomAction,      ///< a custom action; the value is the prefixed action ID
    checkForUpdates,
    quitApp,
};

/// One entry of the tray menu, independent of any toolkit, so the menu can be checked without a tray.
struct MenuBarMenuItem {
    std::string title = {};
    MenuBarCommand command = MenuBarCommand::none;
    std::optional<std::string> representedValue = {};
    bool enabled = true;
    bool isSeparator = false;
    std::string keyEquivalent = {}; ///< "q" for quit, with the platform's command modifier
    std::vector<MenuBarMenuItem> submenu = {};

    static MenuBarMenuItem separator() { return {.isSeparator = true}; }
};

/// The tray menu, built afresh from the settings files each time it opens, so changes made in the
/// settings window or by another process show at once. Building creates the stores, which
/// rewrite the feature settings file and announce it, as at every store start.
class MenuBarMenuModel final {
public:
    /// The whole menu: open settings, quick open, custom actions (only while that feature is on),
    /// check for updates, quit.
    static std::vector<MenuBarMenuItem> build(QuillaSettingsChangeNotifier& notifier);

    /// The "打开" submenu: existing quick-open places, then the enabled clipboard and typed-path
    /// children in the user's order; a disabled placeholder when there is nothing.
    static MenuBarMenuItem quickOpenMenu(QuillaSettingsChangeNotifier& notifier);
    /// The same from given settings and quick-open places (places whose path is gone are left out).
    static MenuBarMenuItem quickOpenMenu(const FeatureSettingsStore& features,
                                         const std::vector<CustomDestination>& places);

    /// The "自定义动作" submenu, or nothing while the feature is disabled.
    static std::optional<MenuBarMenuItem> customActionsMenu(QuillaSettingsChangeNotifier& notifier);

    /// "检查更新（当前版本 %@）" filled with "version (build)".
    static std::string checkForUpdatesTitle(std::string_view shortVersion, std::string_view build);
};

} // namespace quilla
