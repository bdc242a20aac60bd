#include "app/platform/qt/DesktopEntryLauncher.h"

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

} // namespace

bool DesktopEntryLauncher::launch(const std::filesystem::path& desktopEntry,
                                  const std::vector<std::filesystem::path>& items, std::string* error) {
    std::unique_ptr<GDesktopAppInfo, ObjectUnref> info(
        g_desktop_app_info_new_from_filename(desktopEntry.c_str()));
    if (!info) {
        return fail(error, "not a launchable desktop entry: " + desktopEntry.string());
    }
    URIList uris;
    for (const auto& item : items) {
        GError* uriError = nullptr;
        gchar* uri = g_filename_to_uri(std::filesystem::absolute(item).c_str(), nullptr, &uriError);
        if (!uri) {
            std::string message = uriError ? uriError->message : item.string();
            g_clear_error(&uriError);
            return fail(error, message);
        }
        uris.list = g_list_append(uris.list, uri);
    }
    GError* launchError = nullptr;
    if (!g_app_info_launch_uris(G_APP_INFO(info.get()), uris.list, nullptr, &launchError)) {
        std::string message = launchError ? launchError->message : "launch failed: " + desktopEntry.string();
        g_clear_error(&launchError);
        return fail(error, message);
    }
    return true;
}

bool DesktopEntryLauncher::launchDefault(const std::string& uri, std::string* error) {
    GError* launchError = nullptr;
    if (!g_app_info_launch_default_for_uri(uri.c_str(), nullptr, &launchError)) {
        std::string message = launchError ? launchError->message : "no application for " + uri;
        g_clear_error(&launchError);
        return fail(error, message);
    }
    return true;
}

} // namespace quilla
