#include "app/settings/SettingsWindowController.h"

#include "app/core/FeatureSettingsStore.h"
#include "app/core/preferences/AppPreferencesStore.h"
#include "app/settings/ContentView.h"
#include "app/settings/SettingsFileWatcher.h"
#include "app/settings/SettingsWindow.h"
#include "app/settings/WindowPlacement.h"
#include "shared/QuillaPaths.h"
#include "shared/SettingsFiles.h"

#include <QApplication>
#include <QDialog>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>

namespace quilla {
namespace {

std::optional<QRect> screenOf(const QWidget* window) {
    QScreen* screen = window != nullptr ? window->screen() : nullptr;
    if (screen == nullptr) {
        screen = QGuiApplication::primaryScreen();
    }
    if (screen == nullptr) {
        return std::nullopt;
    }
    return screen->availableGeometry();
}

} // namespace

SettingsWindowController::SettingsWindowController(SettingsStores stores, SettingsPlatform platform,
                                                   QObject* parent)
    : QObject(parent), stores_(stores), platform_(std::move(platform)), screenGeometry_(screenOf) {
    const auto name = [](std::string_view file) {
        return QString::fromUtf8(file.data(), qsizetype(file.size()));
    };
    watcher_ = std::make_unique<SettingsFileWatcher>(
        QString::fromStdString(paths::appSupportDir().string()),
        QStringList{name(settings_files::kFeatureSettings), name(settings_files::kAppPreferences)}, [this] {
            stores_.features.reload();
            stores_.preferences.reload();
        });
}

SettingsWindowController::~SettingsWindowController() {
    delete window_.data();
}

SettingsWindow* SettingsWindowController::window() {
    if (window_ == nullptr) {
        window_ = new SettingsWindow(stores_, platform_);
    }
    return window_;
}

SettingsWindow* SettingsWindowController::existingWindow() const {
    return window_.data();
}

void SettingsWindowController::position(SettingsWindow& window) const {
    if (!WindowPlacement::hasRightSize(window.size())) {
        window.resize(WindowPlacement::width, WindowPlacement::height);
    }
    const auto available = screenGeometry_(&window);
    if (!available) {
        return; // no screen: only the size
    }
    // The frame (title bar, borders) counts once the window manager has decorated the window.
    const QSize frame = window.frameGeometry().size().expandedTo(window.size());
    window.move(WindowPlacement::topRight(*available, frame));
}

void SettingsWindowController::showWindow() {
    SettingsWindow* shown = window();
    position(*shown);
    shown->show();
    shown->raise();
    shown->activateWindow();
    const QPointer<SettingsWindow> weak(shown);
    const auto placeAgain = [this, weak] {
        if (weak != nullptr && weak->isVisible()) {
            position(*weak);
        }
    };
    QTimer::singleShot(0, this, placeAgain);
    QTimer::singleShot(200, this, placeAgain);
}

void SettingsWindowController::hideWindow() {
    if (window_ != nullptr) {
        window_->hide();
    }
}

void SettingsWindowController::toggleWindow() {
    // A window behind others is brought forward, not hidden: the click meant "show me".
    if (isWindowVisible() && window_->isActiveWindow()) {
        hideWindow();
    } else {
        showWindow();
    }
}

void SettingsWindowController::checkForUpdates() {
    window()->contentView()->checkForUpdates();
}

bool SettingsWindowController::isWindowVisible() const {
    return window_ != nullptr && window_->isVisible();
}

void SettingsWindowController::applyLaunchPresentation(bool showWindowAfterLaunch) {
    const auto step = [this, showWindowAfterLaunch] {
        if (showWindowAfterLaunch) {
            if (!isWindowVisible()) {
                showWindow();
            }
        } else {
            hideWindow();
        }
    };
    step();
    QTimer::singleShot(150, this, step);
    QTimer::singleShot(450, this, step);
}

void SettingsWindowController::resetTransientWindowState() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget == window_ || !widget->isVisible()) {
            continue;
        }
        // Dialogs, sheets, pop-ups and tool windows go; ordinary windows of others stay.
        const Qt::WindowType type = widget->windowType();
        if (qobject_cast<QDialog*>(widget) != nullptr || type == Qt::Dialog || type == Qt::Sheet ||
            type == Qt::Popup || type == Qt::Tool || type == Qt::ToolTip) {
            if (auto* dialog = qobject_cast<QDialog*>(widget)) {
                dialog->reject();
            }
            widget->close();
        }
    }
    hideWindow();
}

} // namespace quilla
