#include "app/platform/linux/NautilusWindows.h"

#include "shared/dbus/DBusSessionBus.h"

#include <algorithm>
#include <memory>
#include <string_view>

namespace quilla {
namespace {

constexpr int kCallTimeoutMs = 2000;

struct Unref {
    void operator()(GVariant* value) const { g_variant_unref(value); }
    void operator()(GDBusNodeInfo* info) const { g_dbus_node_info_unref(info); }
};
using VariantPtr = std::unique_ptr<GVariant, Unref>;

// A call to Files that never starts it: a view change must not open a file manager.
VariantPtr call(GDBusConnection* bus, const std::string& path, const char* interface, const char* method,
                GVariant* parameters, const char* replyType) {
    GError* error = nullptr;
    GVariant* reply = g_dbus_connection_call_sync(
        bus, NautilusWindows::kBusName, path.c_str(), interface, method, parameters,
        G_VARIANT_TYPE(replyType), G_DBUS_CALL_FLAGS_NO_AUTO_START, kCallTimeoutMs, nullptr, &error);
    g_clear_error(&error);
    return VariantPtr(reply);
}

bool filesIsRunning(GDBusConnection* bus) {
    GError* error = nullptr;
    GVariant* reply = g_dbus_connection_call_sync(
        bus, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "NameHasOwner",
        g_variant_new("(s)", NautilusWindows::kBusName), G_VARIANT_TYPE("(b)"), G_DBUS_CALL_FLAGS_NONE,
        kCallTimeoutMs, nullptr, &error);
    g_clear_error(&error);
    gboolean running = FALSE;
    if (reply) {
        g_variant_get(reply, "(b)", &running);
        g_variant_unref(reply);
    }
    return running != FALSE;
}

// Window nodes are numbered; the order they were opened in is the numeric order.
int windowNumber(const std::string& path) {
    const auto slash = path.rfind('/');
    const std::string_view digits = std::string_view(path).substr(slash + 1);
    int number = 0;
    for (const char c : digits) {
        number = number * 10 + (c - '0');
    }
    return number;
}

// Shows the folder of a window's shown tab again in a new tab, put where the old one was; returns a
// log line.
std::string reopenShownTab(GDBusConnection* bus, const std::string& path) {
    if (!NautilusWindows::activate(bus, path, "new-tab")) {
        return path + ": new-tab failed";
    }
    // Files opens the tab after the shown one; moving it left puts it in the old tab's place.
    NautilusWindows::activate(bus, path, "tab-move-left");
    return path + ": shown in a new tab";
}

} // namespace

std::vector<std::string> NautilusWindows::windowPaths(GDBusConnection* bus) {
    const auto reply =
        call(bus, kWindowsPath, "org.freedesktop.DBus.Introspectable", "Introspect", nullptr, "(s)");
    if (!reply) {
        return {};
    }
    const gchar* xml = nullptr;
    g_variant_get(reply.get(), "(&s)", &xml);
    std::unique_ptr<GDBusNodeInfo, Unref> node(g_dbus_node_info_new_for_xml(xml, nullptr));
    std::vector<std::string> paths;
    for (GDBusNodeInfo** child = node ? node->nodes : nullptr; child && *child; ++child) {
        const std::string_view name = (*child)->path ? (*child)->path : "";
        if (!name.empty() &&
            std::all_of(name.begin(), name.end(), [](char c) { return c >= '0' && c <= '9'; })) {
            paths.push_back(std::string(kWindowsPath) + "/" + std::string(name));
        }
    }
    std::sort(paths.begin(), paths.end(),
              [](const auto& a, const auto& b) { return windowNumber(a) < windowNumber(b); });
    return paths;
}

bool NautilusWindows::activate(GDBusConnection* bus, const std::string& path, const char* action,
                               GVariant* parameter) {
    GVariantBuilder parameters;
    g_variant_builder_init(&parameters, G_VARIANT_TYPE("av"));
    if (parameter) {
        g_variant_builder_add(&parameters, "v", parameter);
    }
    GVariantBuilder platformData;
    g_variant_builder_init(&platformData, G_VARIANT_TYPE("a{sv}"));
    return call(bus, path, "org.gtk.Actions", "Activate",
                g_variant_new("(sava{sv})", action, &parameters, &platformData), "()") != nullptr;
}

std::vector<std::string> NautilusWindows::reopenShownTabs(GDBusConnection* bus) {
    if (!bus) {
        bus = sharedSessionBus();
    }
    if (!bus || !filesIsRunning(bus)) {
        return {};
    }
    std::vector<std::string> lines;
    for (const auto& path : windowPaths(bus)) {
        lines.push_back(reopenShownTab(bus, path));
    }
    return lines;
}

} // namespace quilla
