#pragma once

#include <optional>
#include <string>

namespace quilla {

/// Finds out, before any Qt application object exists, whether a display can be reached: an
/// explicit Qt platform choice, a Wayland socket, or an X display that accepts connections (local
/// displays are tried; remote ones are taken on trust). Qt would abort on a dead display instead
/// of letting the application fall back to running without one.
class DisplayProbe final {
public:
    /// Whether a display is available; `description` names it (or what is missing).
    static bool available(std::string* description = nullptr);

    /// The Qt platform to use instead of Qt's own choice: "xcb" in a Wayland session that also has
    /// an X display answering (XWayland) and no platform chosen by the user (QT_QPA_PLATFORM).
    /// A Wayland client may set the clipboard only while it has keyboard focus, which an application
    /// working in the background never has; XWayland's clipboard is shared with Wayland clients by
    /// the compositor. Nothing otherwise.
    static std::optional<std::string> platformForSession();

    /// Whether the local X display `display` (":N", ":N.S", "unix:N") accepts a connection; remote
    /// displays ("host:N") answer true.
    static bool x11DisplayAccepts(const std::string& display);
};

} // namespace quilla
