#include "shared/dbus/DBusNotificationCenter.h"

#include "shared/dbus/DBusSessionBus.h"

namespace quilla {

bool DBusNotificationCenter::post(std::string_view notificationName, std::string_view object,
                                  const std::map<std::string, std::string>& userInfo) noexcept {
    try {
        const auto dot = notificationName.rfind('.');
        if (dot == std::string_view::npos || dot == 0 || dot + 1 == notificationName.size()) {
            return false;
        }
        const std::string interfaceName(notificationName.substr(0, dot));
        const std::string member(notificationName.substr(dot + 1));
        if (!g_dbus_is_interface_name(interfaceName.c_str()) || !g_dbus_is_member_name(member.c_str())) {
            return false;
        }
        GDBusConnection* bus = sharedSessionBus();
        if (!bus) {
            return false;
        }
        GVariantBuilder info;
        g_variant_builder_init(&info, G_VARIANT_TYPE("a{ss}"));
        for (const auto& [key, value] : userInfo) {
            g_variant_builder_add(&info, "{ss}", key.c_str(), value.c_str());
        }
        const std::string objectText(object);
        GError* error = nullptr;
        const std::string path(objectPath);
        const gboolean sent =
            g_dbus_connection_emit_signal(bus, nullptr, path.c_str(), interfaceName.c_str(), member.c_str(),
                                          g_variant_new("(sa{ss})", objectText.c_str(), &info), &error);
        g_clear_error(&error);
        if (sent) {
            g_dbus_connection_flush_sync(bus, nullptr, nullptr);
        }
        return sent;
    } catch (...) {
        return false;
    }
}

} // namespace quilla
