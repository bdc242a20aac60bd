#include "finder-extension/dbus/DBusActionQueuedNotifier.h"
#include "finder-extension/dbus/DBusQuillaAppLauncher.h"
#include "finder-extension/dbus/DBusSettingsChangedObserver.h"
#include "shared/dbus/DBusNotificationCenter.h"
#include "shared/dbus/DBusSessionBus.h"

#include <gtest/gtest.h>

#include <chrono>

namespace quilla {
namespace {

// Iterates the default main context until `done` or two seconds passed.
template <typename Done> bool spinUntil(Done done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (!done() && std::chrono::steady_clock::now() < deadline) {
        g_main_context_iteration(nullptr, FALSE);
    }
    return done();
}

GDBusConnection* privateConnection() {
    gchar* address = g_dbus_address_get_for_bus_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
    GDBusConnection* connection = address ? g_dbus_connection_new_for_address_sync(
                                                address,
                                                static_cast<GDBusConnectionFlags>(
                                                    G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                                    G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
                                                nullptr, nullptr, nullptr)
                                          : nullptr;
    g_free(address);
    return connection;
}

struct DBusAdapterTest : ::testing::Test {
    void SetUp() override {
        if (!sharedSessionBus()) {
            GTEST_SKIP() << "no session bus (run under dbus-run-session)";
        }
    }
};

TEST_F(DBusAdapterTest, TheApplicationRunsWhileItOwnsItsName) {
    DBusQuillaAppLauncher launcher(DBusQuillaAppLauncher::Mode::waitForStart);
    EXPECT_FALSE(launcher.isApplicationRunning());
    std::optional<std::string> error;
    bool finished = false;
    launcher.startApplication([&](const std::optional<std::string>& result) {
        error = result;
        finished = true;
    });
    EXPECT_TRUE(finished);
    EXPECT_TRUE(error) << "no service file is installed on the test bus, so activation fails and says why";

    GDBusConnection* application = privateConnection();
    ASSERT_TRUE(application);
    GVariant* reply = g_dbus_connection_call_sync(application, "org.freedesktop.DBus", "/org/freedesktop/DBus",
                                                  "org.freedesktop.DBus", "RequestName",
                                                  g_variant_new("(su)", "app.kelvarin.Quilla", 0u), nullptr,
                                                  G_DBUS_CALL_FLAGS_NONE, -1, nullptr, nullptr);
    ASSERT_TRUE(reply);
    g_variant_unref(reply);
    EXPECT_TRUE(launcher.isApplicationRunning());
    g_dbus_connection_close_sync(application, nullptr, nullptr);
    g_object_unref(application);
}

TEST_F(DBusAdapterTest, AsynchronousStartsReportOnTheMainLoopUnlessTheLauncherIsGone) {
    std::optional<std::string> error;
    bool finished = false;
    {
        DBusQuillaAppLauncher launcher(DBusQuillaAppLauncher::Mode::asynchronous);
        launcher.startApplication([&](const std::optional<std::string>& result) {
            error = result;
            finished = true;
        });
        EXPECT_FALSE(finished);
        EXPECT_TRUE(spinUntil([&] { return finished; }));
        EXPECT_TRUE(error);

        finished = false;
        launcher.startApplication([&](const std::optional<std::string>&) { finished = true; });
    }
    spinUntil([] { return false; });
    EXPECT_FALSE(finished) << "a destroyed launcher drops its pending completions";
}

TEST_F(DBusAdapterTest, ActionQueuedIsASignalWithoutObjectOrUserInfo) {
    GVariant* received = nullptr;
    const guint subscription = g_dbus_connection_signal_subscribe(
        sharedSessionBus(), nullptr, "app.kelvarin.Quilla", "ActionQueued", "/app/kelvarin/Quilla", nullptr,
        G_DBUS_SIGNAL_FLAGS_NONE,
        [](GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar*, GVariant* parameters,
           gpointer data) { *static_cast<GVariant**>(data) = g_variant_ref(parameters); },
        &received, nullptr);
    DBusActionQueuedNotifier().postActionQueued();
    ASSERT_TRUE(spinUntil([&] { return received != nullptr; }));
    gchar* text = g_variant_print(received, FALSE);
    EXPECT_TRUE(g_variant_is_of_type(received, G_VARIANT_TYPE("(sa{ss})")));
    EXPECT_STREQ(text, "('', {})");
    g_free(text);
    g_variant_unref(received);
    g_dbus_connection_signal_unsubscribe(sharedSessionBus(), subscription);
}

TEST_F(DBusAdapterTest, SettingsChangedReachesTheObserver) {
    std::vector<std::pair<std::map<std::string, std::string>, std::optional<std::string>>> seen;
    DBusSettingsChangedObserver observer(
        [&](const auto& userInfo, const auto& object) { seen.emplace_back(userInfo, object); });
    ASSERT_TRUE(observer.isSubscribed());
    DBusNotificationCenter::post("app.kelvarin.Quilla.SettingsChanged", "feature-settings",
                                 {{"reason", "feature-settings"}});
    DBusNotificationCenter::post("app.kelvarin.Quilla.SettingsChanged", "", {});
    ASSERT_TRUE(spinUntil([&] { return seen.size() == 2; }));
    EXPECT_EQ(seen[0].first, (std::map<std::string, std::string>{{"reason", "feature-settings"}}));
    EXPECT_EQ(seen[0].second, "feature-settings");
    EXPECT_EQ(seen[1].second, std::nullopt);
}

} // namespace
} // namespace quilla
