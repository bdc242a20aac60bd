#pragma once

#include <string_view>

namespace quilla::settings_files {

// File names are kept exactly as the macOS build names them, so files stay interchangeable.
inline constexpr std::string_view kFeatureSettings = "FeatureSettings.plist";
inline constexpr std::string_view kCustomDestinations = "CustomDestinations.plist";
inline constexpr std::string_view kCustomShortcutActions = "CustomShortcutActions.plist";
inline constexpr std::string_view kFinderViewPresets = "FinderViewPresets.plist";
inline constexpr std::string_view kScheduledDeletions = "ScheduledDeletions.plist";
inline constexpr std::string_view kAppPreferences = "AppPreferences.plist";

// Reasons carried by the settings-changed notification.
inline constexpr std::string_view kReasonFeatureSettings = "feature-settings";
inline constexpr std::string_view kReasonCustomDestinations = "custom-destinations";
inline constexpr std::string_view kReasonCustomShortcutActions = "custom-shortcut-actions";
inline constexpr std::string_view kReasonFinderViewPresets = "finder-view-presets";

} // namespace quilla::settings_files
