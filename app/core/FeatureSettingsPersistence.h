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

    /// The saved settings; nothing when the file is missing, damaged or lacks "enabledFeatureIDs".
    std::optional<FeatureSettings> loadSettings() const;

    /// Writes both copies, then posts "feature-settings"; false when a copy could not be written.
    bool save(const FeatureSettings& settings) const;

    static plist::Value encode(const FeatureSettings& settings);
    static std::optional<FeatureSettings> decode(const plist::Dict& root);

    const SettingsFileCopies& files() const { return files_; }

private:
    SettingsFileCopies files_;
};

} // namespace quilla
