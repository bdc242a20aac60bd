#include "finder-extension/dbus/DBusQuillaAppLauncher.h"

#include "shared/dbus/DBusSessionBus.h"

#include <memory>
#include <string>

namespace quilla {
namespace {

constexpr const char* kBusName = "org.freedesktop.DBus";
constexpr const char* kBusPath = "/org/freedesktop/DBus";
constexpr int kQueryTimeoutMs = 2000;
constexpr int kStartTimeoutMs = 25000; // activation waits until the started application owns its name

std::string errorText(GError* error) {
    std::string text = error && error->message ? error->message : "unknown error";
    g_clear_error(&error);
    return text;
}

GVariant* startParameters() {
    const std::string name(QuillaAppLauncher::applicationID);
    return g_variant_new("(su)", name.c_str(), 0u);
}

void startFinished(GObject* source, GAsyncResult* result, gpointer data) {
    std::unique_ptr<QuillaAppLauncher::Completion> completion(static_cast<QuillaAppLauncher::Completion*>(data));
    GError* error = nullptr;
    GVariant* reply = g_dbus_connection_call_finish(G_DBUS_CONNECTION(source), result, &error);
    if (reply) {
        g_variant_unref(reply);
    }
    if (error && g_error_matches(error, G_IO_ERROR, G_IO_ERROR_CANCELLED)) {
        g_clear_error(&error);
        return; // the launcher is gone, and with it whoever asked
    }
    try {
        (*completion)(error ? std::optional<std::string>(errorText(error)) : std::nullopt);
    } catch (...) {
    }
}

} // namespace

DBusQuillaAppLauncher::DBusQuillaAppLauncher(Mode mode) : mode_(mode), cancellable_(g_cancellable_new()) {}

DBusQuillaAppLauncher::~DBusQuillaAppLauncher() {
    g_cancellable_cancel(cancellable_);
    g_object_unref(cancellable_);
}

bool DBusQuillaAppLauncher::isApplicationRunning() noexcept {
    GDBusConnection* bus = sharedSessionBus();
    if (!bus) {
        return false;
    }
    const std::string name(applicationID);
    GError* error = nullptr;
    GVariant* reply = g_dbus_connection_call_sync(bus, kBusName, kBusPath, kBusName, "NameHasOwner",
                                                  g_variant_new("(s)", name.c_str()), G_VARIANT_TYPE("(b)"),
                                                  G_DBUS_CALL_FLAGS_NONE, kQueryTimeoutMs, nullptr, &error);
    g_clear_error(&error);
    if (!reply) {
        return false;
    }
    gboolean owned = FALSE;
    g_variant_get(reply, "(b)", &owned);
    g_variant_unref(reply);
    return owned;
}

void DBusQuillaAppLauncher::startApplication(Completion completion) noexcept {
    try {
        GDBusConnection* bus = sharedSessionBus();
        if (!bus) {
            completion(std::string("no session bus"));
            return;
        }
        if (mode_ == Mode::asynchronous) {
            auto* data = new Completion(std::move(completion));
            g_dbus_connection_call(bus, kBusName, kBusPath, kBusName, "StartServiceByName", startParameters(),
                                   G_VARIANT_TYPE("(u)"), G_DBUS_CALL_FLAGS_NONE, kStartTimeoutMs, cancellable_,
                                   startFinished, data);
            return;
        }
        GError* error = nullptr;
        GVariant* reply =
            g_dbus_connection_call_sync(bus, kBusName, kBusPath, kBusName, "StartServiceByName", startParameters(),
                                        G_VARIANT_TYPE("(u)"), G_DBUS_CALL_FLAGS_NONE, kStartTimeoutMs, nullptr, &error);
        if (reply) {
            g_variant_unref(reply);
        }
        completion(error ? std::optional<std::string>(errorText(error)) : std::nullopt);
    } catch (...) {
    }
}

} // namespace quilla
