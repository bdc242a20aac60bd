#include "app/platform/qt/DesktopEntryLauncher.h"

#include "shared/L10n.h"

#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>

#include <memory>

namespace quilla {
namespace {

struct ObjectUnref {
    void operator()(gpointer object) const { g_object_unref(object); }
};

struct URIList {
    GList* list = nullptr;
    ~URIList() { g_list_free_full(list, g_free); }
};

bool fail(std::string* error, std::string message) {
    if (error) {
        *error = std::move(message);
    }
    return false;
}

/// `sentence` (naming the item) followed by GLib's own reason, which it translates itself.
bool failWithReason(std::string* error, std::string sentence, GError*& reason) {
    if (reason && reason->message && *reason->message) {
        sentence += L10n::parenthesized(reason->message);
    }
    g_clear_error(&reason);
    return fail(error, std::move(sentence));
}

} // namespace

bool DesktopEntryLauncher::launch(const std::filesystem::path& desktopEntry,
                                  const std::vector<std::filesystem::path>& items, std::string* error) {
    std::unique_ptr<GDesktopAppInfo, ObjectUnref> info(
        g_desktop_app_info_new_from_filename(desktopEntry.c_str()));
    if (!info) {
        return fail(error, L10n::format<"不是可以启动的应用：%@">(desktopEntry.string()));
    }
    URIList uris;
    for (const auto& item : items) {
        GError* uriError = nullptr;
        gchar* uri = g_filename_to_uri(std::filesystem::absolute(item).c_str(), nullptr, &uriError);
        if (!uri) {
            return failWithReason(error, L10n::format<"路径不可用：%@">(item.string()), uriError);
        }
        uris.list = g_list_append(uris.list, uri);
    }
    GError* launchError = nullptr;
    if (!g_app_info_launch_uris(G_APP_INFO(info.get()), uris.list, nullptr, &launchError)) {
        return failWithReason(error, L10n::format<"无法启动应用：%@">(desktopEntry.string()), launchError);
    }
    return true;
}

bool DesktopEntryLauncher::launchDefault(const std::string& uri, std::string* error) {
    GError* launchError = nullptr;
    if (!g_app_info_launch_default_for_uri(uri.c_str(), nullptr, &launchError)) {
        return failWithReason(error, L10n::format<"没有可以打开它的应用：%@">(uri), launchError);
    }
    return true;
}

} // namespace quilla
