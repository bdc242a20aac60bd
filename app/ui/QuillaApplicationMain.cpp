#include "app/ui/QuillaApplicationMain.h"

#include "app/core/preferences/LoginLaunch.h"
#include "app/settings/SettingsAppearance.h"
#include "app/settings/SettingsWindowController.h"
#include "app/ui/AppDelegate.h"
#include "app/ui/DisplayProbe.h"
#include "app/ui/MenuBarController.h"
#include "app/ui/QuillaApp.h"
#include "app/ui/QuillaLaunchOptions.h"
#include "app/ui/SingleApplicationInstance.h"
#include "app/ui/UnixSignalWatcher.h"

#include <QApplication>
#include <QCoreApplication>
#include <QGuiApplication>

#include <csignal>
#include <cstdlib>
#include <iostream>
#include <memory>

namespace quilla {
namespace {

enum class Surface { dialogs, clipboardOnly, none };

// What this start can use: the full desktop for a plain start, the clipboard alone for a
// windowless one, nothing without a display.
// `missing` tells why there is no display.
Surface chooseSurface(const QuillaLaunchOptions& options, std::string& missing) {
    if (!DisplayProbe::available(&missing)) {
        return Surface::none;
    }
    return options.mode == QuillaLaunchOptions::Mode::headless ? Surface::clipboardOnly : Surface::dialogs;
}

std::unique_ptr<QCoreApplication> makeApplication(Surface surface, int& argc, char** argv) {
    switch (surface) {
    case Surface::dialogs: {
        SettingsAppearance::prepareEnvironment();
        auto app = std::make_unique<QApplication>(argc, argv);
        QApplication::setQuitOnLastWindowClosed(false); // closing a dialog or window never quits
        SettingsAppearance::apply(*app);
        return app;
    }
    case Surface::clipboardOnly:
        return std::make_unique<QGuiApplication>(argc, argv);
    case Surface::none:
        break;
    }
    return std::make_unique<QCoreApplication>(argc, argv);
}

// Every URL hook ends here, each URL once: one that another hook (the window's) already took from
// the pending list is not handled again. Queued, so a hand-over over the bus is answered before a
// consent dialog or a slow action holds the main thread.
void routeURLs(AppDelegate& delegate, std::unique_ptr<QuillaApp>& quilla) {
    QObject::connect(
        &delegate, &AppDelegate::openURL, &delegate,
        [&delegate, &quilla](const QUrl& url) {
            // A URL still queued while shutting down is dropped.
            if (delegate.removePendingOpenURL(url) && quilla) {
                quilla->selectionModel().handleIncomingURL(url.toString(QUrl::FullyEncoded).toStdString());
            }
        },
        Qt::QueuedConnection);
}

// The tray item needs widgets, so only a start with dialogs (and so a settings window) has one.
std::unique_ptr<MenuBarController> installTray(QuillaApp& quilla, SettingsWindowController* window) {
    if (window == nullptr) {
        return nullptr;
    }
    auto tray =
        std::make_unique<MenuBarController>(quilla.menuBarActions(), quilla.settingsChangeNotifier(),
                                            MenuBarController::Hooks{
                                                .toggleMainWindow = [window] { window->toggleWindow(); },
                                                .showMainWindow = [window] { window->showWindow(); },
                                                .checkForUpdates = [window] { window->checkForUpdates(); },
                                                .log = &QuillaApp::appendDiagnosticLog,
                                            });
    tray->install();
    return tray;
}

// Runs the owner's life: stores and workers, the delegate's launch steps, then the main loop.
int runOwner(const QuillaLaunchOptions& options, Surface surface, SingleApplicationInstance& instance) {
    UnixSignalWatcher signalWatcher({SIGTERM, SIGINT});
    QObject::connect(&signalWatcher, &UnixSignalWatcher::received, [](int) { QCoreApplication::quit(); });

    auto quilla = std::make_unique<QuillaApp>(
        QuillaApp::Services{.displayClipboard = surface != Surface::none,
                            .dialogs = options.mode == QuillaLaunchOptions::Mode::standard});
    AppDelegate delegate({
        .drain =
            [&] {
                if (quilla) { // a signal delivered late, while shutting down, finds nothing to drain
                    quilla->runner().drain();
                }
            },
        .wasLikelyLaunchedAtLogin =
            [&] {
                return wasLikelyLaunchedAtLogin(options.arguments, quilla->loginItem(),
                                                systemUptimeSeconds());
            },
        .log = &QuillaApp::appendDiagnosticLog,
    });
    QObject::connect(&instance, &SingleApplicationInstance::reopenRequested, &delegate,
                     &AppDelegate::applicationShouldHandleReopen);

    // The settings window, for a start with a display that is not windowless.
    std::unique_ptr<SettingsWindowController> settingsWindow;
    if (surface == Surface::dialogs && options.mode == QuillaLaunchOptions::Mode::standard) {
        settingsWindow = std::make_unique<SettingsWindowController>(
            SettingsStores{quilla->featureSettings(), quilla->preferences(),
                           ListEditorStores{quilla->destinations(), quilla->shortcutActions(),
                                            quilla->viewPresets(), quilla->scheduledDeletions(),
                                            quilla->listPrompts()}},
            SettingsPlatform::system());
        QObject::connect(&delegate, &AppDelegate::showMainWindowRequested, settingsWindow.get(),
                         &SettingsWindowController::showWindow);
    }
    QObject::connect(&instance, &SingleApplicationInstance::urlReceived, &delegate,
                     &AppDelegate::handleGetURLEvent);
    routeURLs(delegate, quilla);
    auto tray = installTray(*quilla, settingsWindow.get());

    if (!delegate.applicationDidFinishLaunching() && QDBusConnection::sessionBus().isConnected()) {
        std::cerr << "quilla: not listening for queued actions on the session bus; polling every second\n";
    }
    if (settingsWindow) {
        settingsWindow->applyLaunchPresentation(delegate.shouldShowWindowAfterLaunch());
    }
    for (const auto& url : options.urls) {
        delegate.handleGetURLEvent(QString::fromStdString(url));
    }

    const int status = QCoreApplication::exec();

    instance.release();
    delegate.applicationWillTerminate();
    tray.reset();
    settingsWindow.reset(); // the tray calls the window, and the window binds to the stores, which go next
    quilla->prepareForQuit();
    quilla.reset(); // waits for the action in progress
    // Closures the workers posted on their way out (log lines) still run, on this thread.
    QCoreApplication::sendPostedEvents();
    return status;
}

} // namespace

int runQuillaApplication(int argc, char** argv) {
    const QuillaLaunchOptions options =
        QuillaLaunchOptions::parse(std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc));
    if (options.help) {
        std::cout << QuillaLaunchOptions::usage();
        return 0;
    }
    if (options.version) {
        std::cout << QuillaLaunchOptions::versionLine() << '\n';
        return 0;
    }
    // Set before Qt starts; said in the log once the application owns its name.
    const auto platform = DisplayProbe::platformForSession();
    if (platform) {
        ::setenv("QT_QPA_PLATFORM", platform->c_str(), 1);
    }
    std::string missingDisplay;
    const Surface surface = chooseSurface(options, missingDisplay);
    const auto app = makeApplication(surface, argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("quilla"));
    if (surface != Surface::none) {
        QGuiApplication::setDesktopFileName(QStringLiteral("app.kelvarin.Quilla"));
    }

    SingleApplicationInstance instance;
    switch (instance.claim()) {
    case SingleApplicationInstance::Claim::alreadyRunning: {
        std::string error;
        if (!SingleApplicationInstance::handOver(
                QDBusConnection::sessionBus(), QString::fromLatin1(SingleApplicationInstance::defaultBusName),
                options.urls, &error)) {
            std::cerr << "quilla: the running application did not answer: " << error << '\n';
            return 1;
        }
        return 0;
    }
    case SingleApplicationInstance::Claim::noBus:
        std::cerr << "quilla: no session bus; running without single-instance and queued-action signals\n";
        break;
    case SingleApplicationInstance::Claim::owner:
        break;
    }
    if (platform) {
        QuillaApp::appendDiagnosticLog(
            "display: Wayland session, running on X11 through XWayland (Qt platform " + *platform +
            ") so that copies reach Wayland applications; QT_QPA_PLATFORM chooses another");
    }
    if (surface == Surface::none) {
        std::cerr << "quilla: no display (" << missingDisplay
                  << "); running without windows, dialogs or clipboard\n";
    }
    return runOwner(options, surface, instance);
}

} // namespace quilla
