#pragma once

#include <string>

namespace quilla {

/// The version texts of this build, shown in the tray menu and the settings window.
class AppVersion final {
public:
    /// The project version (e.g. "1.4"), or "Unknown" when the build did not set one.
    static std::string shortVersion();
    /// The build number (e.g. "27"), or "Unknown" when the build did not set one.
    static std::string build();
};

} // namespace quilla
