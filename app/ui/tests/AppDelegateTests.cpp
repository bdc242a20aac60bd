#include "app/platform/qt/tests/QtTestSupport.h"
#include "app/ui/AppDelegate.h"
#include "app/ui/UnixSignalWatcher.h"
#include "shared/dbus/DBusNotificationCenter.h"

#include <QDBusConnection>

#include <gtest/gtest.h>

#include <csignal>
#include <unistd.h>

using namespace quilla;

namespace {

struct Recorded {
    int drains = 0;
    std::vector<std::string> lines;
    bool loginStart = false;
};

AppDelegate::Hooks hooks(Recorded& r) {
    return {.drain = [&r] { ++r.drains; },
            .wasLikelyLaunchedAtLogin = [&r] { return r.loginStart; },
            .log = [&r](std::string_view line) { r.lines.emplace_back(line); }};
}

} // namespace

TEST(AppDelegate, LaunchLogsDrainsAndEveryActionQueuedSignalDrainsUntilTermination) {
    test::ensureQtApplication();
    if (!QDBusConnection::sessionBus().isConnected())
        GTEST_SKIP() << "no session bus";
    // An interface of this test's own: other tests post the real signal on the shared bus.
    const std::string interface = "app.kelvarin.QuillaTest.p" + std::to_string(::getpid());
    Recorded r;
    AppDelegate delegate(hooks(r), QDBusConnection::sessionBus(), QString::fromStdString(interface));
    ASSERT_TRUE(delegate.applicationDidFinishLaunching());
    EXPECT_EQ(r.lines, std::vector<std::string>{"app launched"});
    EXPECT_EQ(r.drains, 1);
    EXPECT_TRUE(delegate.shouldShowWindowAfterLaunch());

    // The extension posts through GIO on a connection of its own.
    ASSERT_TRUE(DBusNotificationCenter::post(interface + ".ActionQueued", "", {}));
    ASSERT_TRUE(DBusNotificationCenter::post(interface + ".ActionQueued", "", {}));
    EXPECT_TRUE(test::spinUntil([&] { return r.drains == 3; }));
    // A different member on the same interface is not a queued action.
    ASSERT_TRUE(DBusNotificationCenter::post(interface + ".SettingsChanged", "feature-settings",
                                             {{"reason", "feature-settings"}}));
    test::spinUntil([] { return false; }, std::chrono::milliseconds(300));
    EXPECT_EQ(r.drains, 3);

    delegate.applicationWillTerminate();
    EXPECT_FALSE(delegate.isObservingActionQueued());
    const int stopped = r.drains;
    ASSERT_TRUE(DBusNotificationCenter::post(interface + ".ActionQueued", "", {}));
    test::spinUntil([] { return false; }, std::chrono::milliseconds(300));
    EXPECT_EQ(r.drains, stopped);
}

TEST(AppDelegate, LoginStartHidesTheWindowUntilAReopen) {
    test::ensureQtApplication();
    Recorded r;
    r.loginStart = true;
    AppDelegate delegate(hooks(r), QDBusConnection(QStringLiteral("no-bus")));
    int shows = 0;
    QObject::connect(&delegate, &AppDelegate::showMainWindowRequested, [&] { ++shows; });
    EXPECT_FALSE(delegate.applicationDidFinishLaunching()); // no bus: the poll alone remains
    EXPECT_EQ(r.drains, 1); // queued actions are still drained at a login start
    EXPECT_FALSE(delegate.shouldShowWindowAfterLaunch());
    delegate.applicationShouldHandleReopen();
    EXPECT_TRUE(delegate.shouldShowWindowAfterLaunch());
    EXPECT_EQ(shows, 1);
}

TEST(AppDelegate, URLsStayPendingUntilHandledAndNonURLsAreDropped) {
    test::ensureQtApplication();
    Recorded r;
    AppDelegate delegate(hooks(r), QDBusConnection(QStringLiteral("no-bus")));
    QList<QUrl> announced;
    QObject::connect(&delegate, &AppDelegate::openURL, [&](const QUrl& url) { announced << url; });
    const QUrl a(QStringLiteral("quilla://finder-action?action=copyFullPath"));
    const QUrl b(QStringLiteral("quilla://feature-request"));
    delegate.handleGetURLEvent(a.toString());
    delegate.handleGetURLEvent(QStringLiteral("not a url"));
    delegate.handleGetURLEvent(QString());
    delegate.handleGetURLEvent(b.toString());
    delegate.handleGetURLEvent(a.toString());
    EXPECT_EQ(announced, (QList<QUrl>{a, b, a}));
    EXPECT_TRUE(delegate.removePendingOpenURL(a));  // every equal entry goes
    EXPECT_FALSE(delegate.removePendingOpenURL(a)); // so a later hook knows it was handled
    EXPECT_EQ(delegate.drainPendingOpenURLs(), std::vector<QUrl>{b});
    EXPECT_TRUE(delegate.drainPendingOpenURLs().empty());
}

TEST(UnixSignalWatcher, TerminationSignalsArriveOnTheMainLoop) {
    test::ensureQtApplication();
    std::vector<int> received;
    {
        UnixSignalWatcher watcher({SIGTERM, SIGINT});
        ASSERT_TRUE(watcher.isWatching());
        QObject::connect(&watcher, &UnixSignalWatcher::received,
                         [&](int number) { received.push_back(number); });
        ::raise(SIGTERM);
        ::raise(SIGINT);
        EXPECT_TRUE(test::spinUntil([&] { return received.size() == 2; }));
    }
    EXPECT_EQ(received, (std::vector<int>{SIGTERM, SIGINT}));
    struct sigaction current = {};
    ::sigaction(SIGTERM, nullptr, &current);
    EXPECT_EQ(current.sa_handler, SIG_DFL); // handed back on destruction
}
