#pragma once

#include <gio/gio.h>

#include <string>
#include <vector>

namespace quilla {

/// The open windows of a running GNOME Files, driven through the actions each window exports on
/// the session bus (org.gtk.Actions at /org/gnome/Nautilus/window/N).
///
/// Files 43 reads its default view only when it makes a new view: a window keeps the view it has
/// while the user navigates (and writes that view back to the settings when it does). So after a
/// view change every window shows its folder again in a new tab, which takes the new defaults, in
/// the place of the tab shown before. The old tab stays behind it: Files does not publish which tab
/// is shown or how many there are (the state of its go-to-tab action never changes), so a tab that
/// cannot be identified is never closed.
class NautilusWindows final {
public:
    static constexpr const char* kBusName = "org.gnome.Nautilus";
    static constexpr const char* kWindowsPath = "/org/gnome/Nautilus/window";

    /// Shows the folder of each open window again in a new tab, on `bus` (the process's session bus
    /// when null). Files is never started for this. Returns one line per window for the diagnostic
    /// log, empty when Files is not running.
    static std::vector<std::string> reopenShownTabs(GDBusConnection* bus = nullptr);

    /// The object paths of the open windows, in window order.
    static std::vector<std::string> windowPaths(GDBusConnection* bus);
    /// Activates the window action `action` (with `parameter`, consumed when floating, or none).
    static bool activate(GDBusConnection* bus, const std::string& path, const char* action,
                         GVariant* parameter = nullptr);
};

} // namespace quilla
