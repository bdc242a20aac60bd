#include "shared/dbus/DBusSettingsChangeNotifier.h"

#include "shared/dbus/DBusNotificationCenter.h"

#include <string>

namespace quilla {

void DBusSettingsChangeNotifier::post(std::string_view reason) {
    DBusNotificationCenter::post(notificationName, reason, {{"reason", std::string(reason)}});
}

} // namespace quilla
