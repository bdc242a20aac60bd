#include "shared/dbus/DBusSessionBus.h"

#include <mutex>

namespace quilla {

GDBusConnection* sharedSessionBus() noexcept {
    static std::once_flag once;
    static GDBusConnection* connection = nullptr;
    try {
        std::call_once(once, [] {
            // Without either variable GIO would try to autolaunch a bus, which can hang.
            if (!g_getenv("DBUS_SESSION_BUS_ADDRESS") && !g_getenv("XDG_RUNTIME_DIR")) {
                return;
            }
            GError* error = nullptr;
            connection = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, &error);
            g_clear_error(&error);
        });
    } catch (...) {
        return nullptr;
    }
    return connection;
}

} // namespace quilla
