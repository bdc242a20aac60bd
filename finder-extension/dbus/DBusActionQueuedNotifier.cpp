#include "finder-extension/dbus/DBusActionQueuedNotifier.h"

#include "shared/dbus/DBusNotificationCenter.h"

namespace quilla {

void DBusActionQueuedNotifier::postActionQueued() noexcept {
    DBusNotificationCenter::post(notificationName, "", {});
}

} // namespace quilla
