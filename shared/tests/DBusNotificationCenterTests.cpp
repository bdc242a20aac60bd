#include "shared/dbus/DBusNotificationCenter.h"
#include "shared/dbus/DBusSettingsChangeNotifier.h"

#include <gio/gio.h>
#include <gtest/gtest.h>

#include <string>

using namespace quilla;

namespace {

struct Received {
    std::string member;
    std::string object;
    std::string reason;
    int count = 0;
};

void onSignal(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar* member, GVariant* parameters,
              gpointer data) {
    auto* received = static_cast<Received*>(data);
    const gchar* object = nullptr;
    GVariant* info = nullptr;
    g_variant_get(parameters, "(&s@a{ss})", &object, &info);
    const gchar* reason = nullptr;
    if (g_variant_lookup(info, "reason", "&s", &reason)) {
        received->reason = reason;
    }
    g_variant_unref(info);
    received->member = member;
    received->object = object;
    ++received->count;
}

} // namespace

TEST(DBusNotificationCenter, SettingsChangedReachesAListenerOnTheSessionBus) {
    if (!g_getenv("DBUS_SESSION_BUS_ADDRESS")) {
        GTEST_SKIP() << "needs dbus-run-session";
    }
    GError* error = nullptr;
    GDBusConnection* listener = g_dbus_connection_new_for_address_sync(
        g_getenv("DBUS_SESSION_BUS_ADDRESS"),
        GDBusConnectionFlags(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                             G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
        nullptr, nullptr, &error);
    ASSERT_NE(listener, nullptr) << (error ? error->message : "");
    Received received;
    const guint id = g_dbus_connection_signal_subscribe(listener, nullptr, "app.kelvarin.Quilla", "SettingsChanged",
                                                        "/app/kelvarin/Quilla", nullptr, G_DBUS_SIGNAL_FLAGS_NONE,
                                                        onSignal, &received, nullptr);
    // Make sure the match rule is installed before the signal is sent.
    g_dbus_connection_call_sync(listener, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus.Peer",
                                "Ping", nullptr, nullptr, G_DBUS_CALL_FLAGS_NONE, -1, nullptr, nullptr);

    DBusSettingsChangeNotifier notifier;
    notifier.post("feature-settings");

    GMainContext* context = g_main_context_default();
    for (int i = 0; i < 500 && received.count == 0; ++i) {
        g_main_context_iteration(context, FALSE);
        g_usleep(2000);
    }
    EXPECT_EQ(received.count, 1);
    EXPECT_EQ(received.member, "SettingsChanged");
    EXPECT_EQ(received.object, "feature-settings");
    EXPECT_EQ(received.reason, "feature-settings");
    g_dbus_connection_signal_unsubscribe(listener, id);
    g_object_unref(listener);
}

TEST(DBusNotificationCenter, RefusesNamesThatAreNotInterfaceAndMember) {
    EXPECT_FALSE(DBusNotificationCenter::post("NoDot", "", {}));
    EXPECT_FALSE(DBusNotificationCenter::post("app.kelvarin.", "", {}));
    EXPECT_FALSE(DBusNotificationCenter::post("bad name.Member", "", {}));
}
