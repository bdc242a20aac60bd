#pragma once

namespace quilla {

/// The application's own preferences.
struct AppPreferences {
    bool revealCreatedItems = false;
    bool revealActionResults = true;
    bool launchAtLogin = false;
    /// A desktop notification for each failed queued or URL action (no alert interrupts those).
    bool notifyOnActionFailure = true;

    bool operator==(const AppPreferences&) const = default;
};

} // namespace quilla
