#pragma once

#include <gio/gio.h>

#include <functional>
#include <map>
#include <optional>
#include <string>

namespace quilla {

/// Calls back for every "app.kelvarin.Quilla.SettingsChanged" signal on the session bus, with its
/// user info and object (nothing when the object is empty). Callbacks run on the main loop of the
/// thread that created the observer; without a session bus there are none.
class DBusSettingsChangedObserver final {
public:
    using Handler = std::function<void(const std::map<std::string, std::string>& userInfo,
                                       const std::optional<std::string>& object)>;

    explicit DBusSettingsChangedObserver(Handler handler);
    /// Unsubscribes; no callback runs afterwards.
    ~DBusSettingsChangedObserver();
    DBusSettingsChangedObserver(const DBusSettingsChangedObserver&) = delete;
    DBusSettingsChangedObserver& operator=(const DBusSettingsChangedObserver&) = delete;

    /// Whether the subscription is active (there is a session bus).
    bool isSubscribed() const { return subscription_ != 0; }

private:
    static void received(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar*,
                         GVariant* parameters, gpointer self);

    Handler handler_;
    GDBusConnection* bus_ = nullptr;
    guint subscription_ = 0;
};

} // namespace quilla
