#pragma once

namespace quilla {

/// The application's own three preferences.
struct AppPreferences {
    bool revealCreatedItems = false;
    bool revealActionResults = true;
    bool launchAtLogin = false;

    bool operator==(const AppPreferences&) const = default;
};

} // namespace quilla
