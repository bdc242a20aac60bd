#pragma once

#include "app/core/FeatureSettings.h"
#include "app/core/SettingsFileCopies.h"
#include "shared/PropertyList.h"

#include <optional>

namespace quilla {

/// Reads and writes FeatureSettings.plist (application copy read; both copies written).
class FeatureSettingsPersistence final {
public:
    explicit FeatureSettingsPersistence(QuillaSettingsChangeNotifier& notifier);

    /// The saved settings; nothing when the file is missing, damaged or lacks a usable
    /// "enabledFeatureIDs". A file with any value of the wrong type is first kept aside as
    /// NAME.bad-<UTC time>; such values are repaired as if they were missing.
    std::optional<FeatureSettings> loadSettings() const;

    /// Writes both copies, then posts "feature-settings"; false when a copy could not be written.
    bool save(const FeatureSettings& settings) const;

    static plist::Value encode(const FeatureSettings& settings);
    /// What a file's root dictionary holds, and whether any known key had a value of the wrong type.
    struct Decoded {
        std::optional<FeatureSettings> settings;
        bool wronglyTyped = false;
    };
    static Decoded decode(const plist::Dict& root);

    const SettingsFileCopies& files() const { return files_; }

private:
    SettingsFileCopies files_;
};

} // namespace quilla
