#pragma once

#include "app/core/platform/DesktopNotifier.h"

#include <QDBusConnection>
#include <QObject>

#include <functional>
#include <string_view>

namespace quilla {

/// Desktop notifications through org.freedesktop.Notifications on the session bus, from
/// "Quilla" with the application's icon. The call is asynchronous, so a slow server never holds
/// up the main thread; a missing server or bus is written to the diagnostic log instead.
class FreedesktopNotifier final : public DesktopNotifier {
public:
    static constexpr const char* service = "org.freedesktop.Notifications";
    static constexpr const char* path = "/org/freedesktop/Notifications";
    static constexpr const char* iconName = "app.kelvarin.Quilla";

    explicit FreedesktopNotifier(std::function<void(std::string_view)> log,
                                 QDBusConnection bus = QDBusConnection::sessionBus());

    void post(const std::string& title, const std::string& body) override;

private:
    std::function<void(std::string_view)> log_;
    QDBusConnection bus_;
    QObject watchers_; // parent of the pending-call watchers, so none outlives the notifier
};

} // namespace quilla
