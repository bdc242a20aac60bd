#pragma once

#include "app/core/menubar/MenuBarMenuModel.h"

#include <QIcon>
#include <QMenu>
#include <QObject>
#include <QSystemTrayIcon>

#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace quilla {

class MenuBarActions;
class QuillaSettingsChangeNotifier;

/// The application's permanent presence: one tray item (a StatusNotifierItem where the desktop
/// hosts one). A left click toggles the settings window; the context menu is rebuilt from the
/// settings files each time it opens; a failure of a menu action is shown in a modal alert.
/// Without a tray host the application runs on and this is logged once. Main thread only.
class MenuBarController final : public QObject {
    Q_OBJECT

public:
    /// What the tray does to things it does not own; the settings window is reached only
    /// through these, so any window object can stand behind them.
    struct Hooks {
        /// Left click: hide the settings window when it is the visible active window, else bring
        /// it to the front (creating it when needed).
        std::function<void()> toggleMainWindow;
        /// "打开 Quilla", once stray dialogs are closed: bring the settings window to the front.
        std::function<void()> showMainWindow;
        std::function<void()> checkForUpdates;     ///< "检查更新…"
        std::function<void(std::string_view)> log; ///< the diagnostic log
    };

    MenuBarController(MenuBarActions& actions, QuillaSettingsChangeNotifier& notifier, Hooks hooks);
    ~MenuBarController() override;

    /// Creates and shows the tray item. False when no tray host is there (the item is kept, in
    /// case the desktop offers one later).
    bool install();

    /// The tray item; null until install().
    QSystemTrayIcon* statusItem() const { return statusItem_.get(); }
    /// The context menu as it was last built.
    QMenu* menu() const { return menu_.get(); }
    /// Clears `menu` and fills it from a freshly built menu model.
    void rebuildMenu(QMenu& menu);
    /// Runs an item's command (executor actions, window commands, quit).
    void perform(const MenuBarMenuItem& item);

    /// Ends every modal session and closes the dialogs left open (alerts, prompts, editors), so
    /// that "打开 Quilla" always reaches a usable settings window.
    static void resetTransientWindowState();

    /// The modal alert "Quilla 操作失败" with `description` and one button "确定".
    static void showActionError(const std::string& description);
    /// The application's own icon: the installed theme icon, else the one built in.
    static QIcon applicationIcon();

    static constexpr const char* errorAlertName = "quillaActionErrorAlert";

private:
    void handleActivation(QSystemTrayIcon::ActivationReason reason);
    void addItems(QMenu& menu, const std::vector<MenuBarMenuItem>& items);

    MenuBarActions& actions_;
    QuillaSettingsChangeNotifier& notifier_;
    Hooks hooks_;
    std::unique_ptr<QMenu> menu_;
    std::unique_ptr<QSystemTrayIcon> statusItem_;
};

} // namespace quilla
