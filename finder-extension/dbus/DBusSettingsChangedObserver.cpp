#include "finder-extension/dbus/DBusSettingsChangedObserver.h"

#include "finder-extension/core/FinderSync.h"
#include "shared/dbus/DBusNotificationCenter.h"
#include "shared/dbus/DBusSessionBus.h"

namespace quilla {

DBusSettingsChangedObserver::DBusSettingsChangedObserver(Handler handler) : handler_(std::move(handler)) {
    bus_ = sharedSessionBus();
    if (!bus_) {
        return;
    }
    const std::string name(FinderSync::settingsChangedNotificationName);
    const auto dot = name.rfind('.');
    const std::string interfaceName = name.substr(0, dot);
    const std::string member = name.substr(dot + 1);
    const std::string path(DBusNotificationCenter::objectPath);
    subscription_ = g_dbus_connection_signal_subscribe(bus_, nullptr, interfaceName.c_str(), member.c_str(),
                                                       path.c_str(), nullptr, G_DBUS_SIGNAL_FLAGS_NONE, &received,
                                                       this, nullptr);
}

DBusSettingsChangedObserver::~DBusSettingsChangedObserver() {
    if (bus_ && subscription_ != 0) {
        g_dbus_connection_signal_unsubscribe(bus_, subscription_);
    }
}

void DBusSettingsChangedObserver::received(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar*,
                                           GVariant* parameters, gpointer self) {
    if (!g_variant_is_of_type(parameters, G_VARIANT_TYPE("(sa{ss})"))) {
        return; // someone else's signal of the same name
    }
    const gchar* object = nullptr;
    GVariantIter* iter = nullptr;
    g_variant_get(parameters, "(&sa{ss})", &object, &iter);
    std::map<std::string, std::string> userInfo;
    const gchar* key = nullptr;
    const gchar* value = nullptr;
    while (g_variant_iter_next(iter, "{&s&s}", &key, &value)) {
        userInfo.emplace(key, value);
    }
    g_variant_iter_free(iter);
    try {
        const std::string objectText = object ? object : "";
        static_cast<DBusSettingsChangedObserver*>(self)->handler_(
            userInfo, objectText.empty() ? std::nullopt : std::optional<std::string>(objectText));
    } catch (...) {
    }
}

} // namespace quilla
