#include "app/platform/qt/tests/FakeNotificationServer.h"
#include "app/platform/qt/tests/QtTestSupport.h"
#include "app/ui/QuillaApp.h"
#include "shared/QuillaPaths.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestEnv.h"

#include <QDBusConnection>

#include <gtest/gtest.h>

#include <fstream>

using namespace quilla;
namespace fs = std::filesystem;

namespace {

std::size_t position(const std::string& text, const std::string& part) {
    const auto at = text.find(part);
    EXPECT_NE(at, std::string::npos) << part;
    return at;
}

} // namespace

TEST(QuillaApp, CreationSavesTheStoresLogsInitAndDrainsWhatWasQueuedBefore) {
    test::ensureQtApplication();
    test::ScopedHome home;
    const auto queue = paths::primaryQueueDir();
    fs::create_directories(queue);
    std::ofstream(queue / "waiting.json") << R"({"actionID":"completed","selectedPaths":["/tmp"]})";
    {
        QuillaApp app(QuillaApp::Services{});
        EXPECT_TRUE(test::spinUntil([&] {
            return !fs::exists(queue / "waiting.json") && !fs::exists(queue / "waiting.processing");
        }));
        app.runner().waitUntilIdle();
    }
    for (const char* file : {"FeatureSettings.plist", "CustomDestinations.plist",
                             "CustomShortcutActions.plist", "FinderViewPresets.plist"}) {
        EXPECT_TRUE(fs::exists(paths::appSupportDir() / file)) << file;
        EXPECT_TRUE(fs::exists(paths::extensionSupportDir() / file)) << file;
    }
    const std::string log = test::readText(paths::appActionLogPath());
    EXPECT_LT(position(log, "] QuillaApp init\n"), position(log, "queue drain found 1 files"));
    EXPECT_LT(position(log, "app delegate queued action=completed"),
              position(log, "queued action succeeded: completed"));
}

TEST(QuillaApp, WithoutADisplayTheClipboardFailsClearly) {
    test::ensureQtApplication();
    test::ScopedHome home;
    const auto queue = paths::primaryQueueDir();
    fs::create_directories(queue);
    const test::TempDir place;
    const auto file = place.write("a.txt", "");
    std::ofstream(queue / "copy.json")
        << R"({"actionID":"copyFullPath","selectedPaths":[")" + file.string() + R"("]})";
    {
        QuillaApp app(QuillaApp::Services{.displayClipboard = false, .dialogs = false});
        EXPECT_TRUE(test::spinUntil(
            [&] { return !fs::exists(queue / "copy.json") && !fs::exists(queue / "copy.processing"); }));
        app.runner().waitUntilIdle();
        test::spinUntil([] { return false; }, std::chrono::milliseconds(100)); // the main-thread log line
    }
    const std::string log = test::readText(paths::appActionLogPath());
    if (log.find("暂不支持这个右键动作：copyFullPath") != std::string::npos) {
        GTEST_SKIP() << "path copying is not registered yet";
    }
    EXPECT_NE(log.find("clipboard unavailable: no display"), std::string::npos);
    EXPECT_NE(log.find("error=写入剪贴板失败。"), std::string::npos);
    EXPECT_NE(log.find("suppressed queued action error alert: 写入剪贴板失败。"), std::string::npos);
}

TEST(QuillaApp, FailedQueuedActionsAreNotifiedOnceEachUnlessSwitchedOff) {
    test::ensureQtApplication();
    if (!QDBusConnection::sessionBus().isConnected()) {
        GTEST_SKIP() << "no session bus (run under dbus-run-session)";
    }
    test::ScopedHome home;
    test::FakeNotificationServer server;
    ASSERT_TRUE(server.registered());
    const auto queue = paths::primaryQueueDir();
    fs::create_directories(queue);
    const auto enqueue = [&](const std::string& name, const std::string& actionID) {
        std::ofstream(queue / (name + ".json")) << R"({"actionID":")" + actionID + R"("})";
    };
    const auto drained = [&](QuillaApp& app) {
        EXPECT_TRUE(test::spinUntil([&] { return fs::is_empty(queue); }));
        app.runner().waitUntilIdle();
        test::spinUntil([] { return false; }, std::chrono::milliseconds(300)); // replies from the bus
    };

    QuillaApp app(QuillaApp::Services{.displayClipboard = false, .dialogs = false});
    // A burst of one failure is one notification; a different failure is another.
    for (const char* name : {"1", "2", "3"}) {
        enqueue(name, "noSuchAction");
    }
    enqueue("4", "otherMissingAction");
    app.runner().drain();
    drained(app);
    ASSERT_EQ(server.received.size(), 2u);
    for (const auto& got : server.received) {
        EXPECT_EQ(got.appName, QStringLiteral("Quilla"));
        EXPECT_EQ(got.summary, QStringLiteral("Quilla 操作失败"));
    }
    EXPECT_TRUE(server.received[0].body.contains(QStringLiteral("noSuchAction")));
    EXPECT_TRUE(server.received[1].body.contains(QStringLiteral("otherMissingAction")));

    // Switched off in the preferences: failures only reach the log.
    app.preferences().setNotifyOnActionFailure(false);
    enqueue("5", "thirdMissingAction");
    app.runner().drain();
    drained(app);
    EXPECT_EQ(server.received.size(), 2u);
    EXPECT_NE(test::readText(paths::appActionLogPath()).find("thirdMissingAction"), std::string::npos);
}
