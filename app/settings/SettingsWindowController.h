#pragma once

#include "app/settings/SettingsPlatform.h"
#include "app/settings/SettingsStores.h"

#include <QObject>
#include <QPointer>
#include <QRect>

#include <functional>
#include <memory>
#include <optional>

namespace quilla {

class SettingsFileWatcher;
class SettingsWindow;

/// Owns the settings window for the application: creates it on first use, shows it at the top
/// right of the screen, hides it, and keeps it from being destroyed by a close. Main thread only.
/// Settings another process writes (a hand edit, a second instance) reach the stores, and so an
/// open window, through a watch on the application's settings folder.
/// Where the window manager refuses client placement (Wayland), the placement is best effort:
/// the size still applies and the compositor chooses the place.
class SettingsWindowController final : public QObject {
    Q_OBJECT

public:
    /// The available geometry of the screen to place the window on; nothing when there is none.
    using ScreenGeometry = std::function<std::optional<QRect>(const QWidget* window)>;

    SettingsWindowController(SettingsStores stores, SettingsPlatform platform, QObject* parent = nullptr);
    ~SettingsWindowController() override;

    /// Creates the window if needed, corrects its size, places it at the top right, shows it and
    /// raises it; places it again on the next turn and 0.2 s later (the window manager may move a
    /// window it has just mapped).
    void showWindow();
    /// Hides the window (it is kept).
    void hideWindow();
    /// Hides the window when it is visible and the active window; otherwise shows it in front.
    void toggleWindow();
    /// Shows the update dialog (over the window, which stays as it is).
    void checkForUpdates();
    bool isWindowVisible() const;

    /// The launch's decision, applied now and again 0.15 s and 0.45 s later: show the window for
    /// a normal start, keep it hidden after a login-item start.
    void applyLaunchPresentation(bool showWindowAfterLaunch);
    /// Closes stray dialogs and sheets left over from earlier, then hides the main window.
    void resetTransientWindowState();

    /// The window, created on first call.
    SettingsWindow* window();
    /// The window if it was created.
    SettingsWindow* existingWindow() const;

    /// Replaces where the screen's available geometry comes from (tests use a fake screen).
    void setScreenGeometry(ScreenGeometry geometry) { screenGeometry_ = std::move(geometry); }
    /// Sets the size (unless right) and the top-right place.
    void position(SettingsWindow& window) const;

private:
    SettingsStores stores_;
    SettingsPlatform platform_;
    ScreenGeometry screenGeometry_;
    QPointer<SettingsWindow> window_;
    std::unique_ptr<SettingsFileWatcher> watcher_;
};

} // namespace quilla
