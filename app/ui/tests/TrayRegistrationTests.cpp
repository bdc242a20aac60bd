// The tray item on a real X server (its own Xvfb) with a status-notifier watcher on the test bus:
// the item registers with the watcher, the watcher's "activate" (a left click) toggles the
// settings window, and the menu the desktop reads follows the settings. Needs its own process: the platform
// is chosen when the application starts.

#include "app/core/FeatureSettingsStore.h"
#include "app/core/menubar/MenuBarActions.h"
#include "app/core/tests/fakes/FakePlatform.h"
#include "app/platform/qt/tests/QtTestSupport.h"
#include "app/ui/MenuBarController.h"
#include "shared/SettingsChangeNotifier.h"
#include "tests/support/TestEnv.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QObject>
#include <QProcess>
#include <QStringList>
#include <QSystemTrayIcon>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace quilla::test {

/// The desktop side of the tray protocol: records which items register.
class FakeStatusNotifierWatcher final : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ isHostRegistered)
    Q_PROPERTY(int ProtocolVersion READ protocolVersion)
    Q_PROPERTY(QStringList RegisteredStatusNotifierItems READ items)

public:
    bool isHostRegistered() const { return true; }
    int protocolVersion() const { return 0; }
    QStringList items() const {
        const std::lock_guard lock(mutex_);
        return items_;
    }

public Q_SLOTS:
    void RegisterStatusNotifierItem(const QString& service) {
        const std::lock_guard lock(mutex_);
        items_ << service;
    }
    void RegisterStatusNotifierHost(const QString&) {}

private:
    mutable std::mutex mutex_;
    QStringList items_;
};

} // namespace quilla::test

using namespace quilla;

namespace {

// Starts Xvfb on a free display and points the process at it; the server ends with the process.
bool startPrivateXServer() {
    int fds[2];
    if (pipe(fds) != 0) {
        return false;
    }
    const std::string fd = std::to_string(fds[1]);
    const char* argv[] = {"Xvfb", "-displayfd", fd.c_str(), "-nolisten", "tcp", nullptr};
    pid_t pid = 0;
    if (posix_spawnp(&pid, "Xvfb", nullptr, nullptr, const_cast<char**>(argv), environ) != 0) {
        return false;
    }
    close(fds[1]);
    char number[16] = {};
    const ssize_t got = read(fds[0], number, sizeof number - 1);
    close(fds[0]);
    if (got <= 0) {
        return false;
    }
    static const pid_t server = pid;
    std::atexit([] {
        kill(server, SIGTERM);
        waitpid(server, nullptr, 0);
    });
    setenv("DISPLAY", (":" + std::string(number, std::strcspn(number, "\n"))).c_str(), 1);
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    unsetenv("WAYLAND_DISPLAY");
    return true;
}

// A call made the way the desktop makes it, from another process: the item answers on this
// process's main thread, which keeps turning meanwhile.
QString busCall(const QStringList& arguments) {
    QProcess gdbus;
    gdbus.start(QStringLiteral("gdbus"),
                QStringList{QStringLiteral("call"), QStringLiteral("--session")} + arguments);
    test::spinUntil([&] { return gdbus.state() == QProcess::NotRunning; });
    return QString::fromUtf8(gdbus.readAllStandardOutput() + gdbus.readAllStandardError());
}

// The item's menu layout after the desktop announces that it opens, as text.
QString openedMenuLayout(const QString& item) {
    const QString menuProperty =
        busCall({QStringLiteral("--dest"), item, QStringLiteral("--object-path"),
                 QStringLiteral("/StatusNotifierItem"), QStringLiteral("--method"),
                 QStringLiteral("org.freedesktop.DBus.Properties.Get"),
                 QStringLiteral("org.kde.StatusNotifierItem"), QStringLiteral("Menu")});
    const QString path = menuProperty.section(QLatin1Char('\''), 1, 1);
    const QStringList menu{QStringLiteral("--dest"), item, QStringLiteral("--object-path"), path,
                           QStringLiteral("--method")};
    busCall(menu + QStringList{QStringLiteral("com.canonical.dbusmenu.AboutToShow"), QStringLiteral("0")});
    return busCall(menu + QStringList{QStringLiteral("com.canonical.dbusmenu.GetLayout"),
                                      QStringLiteral("--"), QStringLiteral("0"), QStringLiteral("-1"),
                                      QStringLiteral("[]")});
}

void setCustomActionsEnabled(bool enabled) {
    RecordingSettingsChangeNotifier quiet;
    const FeatureSettingsPersistence persistence(quiet);
    FeatureSettingsStore store(persistence);
    store.setEnabled(enabled, QuillaFeature::customActions);
}

} // namespace

TEST(TrayRegistration, TheItemRegistersALeftClickTogglesTheWindowAndTheMenuIsFreshEachTime) {
    if (!QDBusConnection::sessionBus().isConnected()) {
        GTEST_SKIP() << "no session bus (run under dbus-run-session)";
    }
    ASSERT_TRUE(startPrivateXServer());
    test::ensureQtApplication();

    // The watcher answers from its own thread: the tray asks it synchronously from the main one.
    QThread watcherThread;
    watcherThread.start();
    auto* watcherObject = new test::FakeStatusNotifierWatcher;
    auto& watcher = *watcherObject;
    watcher.moveToThread(&watcherThread);
    QDBusConnection watcherBus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "fake-watcher");
    ASSERT_TRUE(
        watcherBus.registerObject(QStringLiteral("/StatusNotifierWatcher"), watcherObject,
                                  QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllProperties));
    ASSERT_TRUE(watcherBus.registerService(QStringLiteral("org.kde.StatusNotifierWatcher")));

    test::ScopedHome home;
    RecordingSettingsChangeNotifier notifier;
    test::FakeFinderScripting finder;
    MenuBarActions actions([](const ActionRequest&) { return ActionResult{}; }, finder);
    std::vector<std::string> logLines;
    int toggles = 0;
    {
        MenuBarController controller(actions, notifier,
                                     {.toggleMainWindow = [&] { ++toggles; },
                                      .showMainWindow = [] {},
                                      .checkForUpdates = [] {},
                                      .log = [&](std::string_view line) { logLines.emplace_back(line); }});
        EXPECT_TRUE(controller.install());
        EXPECT_TRUE(logLines.empty());
        ASSERT_TRUE(test::spinUntil([&] { return !watcher.items().isEmpty(); }));
        const QString item = watcher.items().front();
        // The item is named by its connection's unique name or an "org.kde.StatusNotifierItem-…" one.
        EXPECT_TRUE(watcherBus.interface()->isServiceRegistered(item)) << item.toStdString();

        // What the desktop sends on a left click; a middle click ("secondary") does nothing.
        const auto click = [&](const char* method) {
            const QDBusMessage call =
                QDBusMessage::createMethodCall(item, QStringLiteral("/StatusNotifierItem"),
                                               QStringLiteral("org.kde.StatusNotifierItem"),
                                               QString::fromLatin1(method))
                << 0 << 0;
            watcherBus.asyncCall(call);
        };
        click("Activate");
        EXPECT_TRUE(test::spinUntil([&] { return toggles == 1; }));
        click("SecondaryActivate");
        click("Activate");
        EXPECT_TRUE(test::spinUntil([&] { return toggles == 2; }));
        test::spinUntil([] { return false; }, std::chrono::milliseconds(100));
        EXPECT_EQ(toggles, 2);

        // The menu as the desktop reads it when it opens: rebuilt from the settings each time.
        setCustomActionsEnabled(true);
        const QString withCustom = openedMenuLayout(item);
        for (const char* title : {"打开 Quilla", "打开", "自定义动作", "还没有自定义动作", "退出 Quilla"}) {
            EXPECT_TRUE(withCustom.contains(QString::fromUtf8(title))) << title << "\n"
                                                                       << withCustom.toStdString();
        }
        setCustomActionsEnabled(false);
        const QString withoutCustom = openedMenuLayout(item);
        EXPECT_TRUE(withoutCustom.contains(QStringLiteral("退出 Quilla"))) << withoutCustom.toStdString();
        EXPECT_FALSE(withoutCustom.contains(QStringLiteral("自定义动作"))) << withoutCustom.toStdString();
    }
    watcherBus.unregisterService(QStringLiteral("org.kde.StatusNotifierWatcher"));
    watcherBus.unregisterObject(QStringLiteral("/StatusNotifierWatcher"));
    QDBusConnection::disconnectFromBus(QStringLiteral("fake-watcher"));
    QMetaObject::invokeMethod(
        watcherObject, [watcherObject] { delete watcherObject; }, Qt::BlockingQueuedConnection);
    watcherThread.quit();
    watcherThread.wait();
}

#include "TrayRegistrationTests.moc"
