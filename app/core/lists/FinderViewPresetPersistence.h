#pragma once

#include "app/core/SettingsFileCopies.h"
#include "app/core/lists/FinderViewPreset.h"
#include "shared/PropertyList.h"

#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

namespace quilla {

/// Reads and writes FinderViewPresets.plist: an array of dictionaries with the four string keys
/// "id", "name", "viewMode", "sortMode". Only the application copy is read; a save writes both
/// copies and then posts "finder-view-presets".
class FinderViewPresetPersistence final {
public:
    explicit FinderViewPresetPersistence(QuillaSettingsChangeNotifier& notifier);

    /// The application copy's path.
    static std::filesystem::path applicationCopy();

    /// The saved presets with their names normalised; nothing when the file is missing, is not a
    /// property list or has any value of the wrong type. Entries lacking a key or holding an
    /// unknown mode are skipped, so a well-shaped file may give an empty list. No side effects.
    static std::optional<std::vector<FinderViewPreset>> load();

    /// The first saved preset with this id, read afresh; nothing when there is none or the file
    /// counts as absent (the defaults are not consulted).
    static std::optional<FinderViewPreset> preset(std::string_view id);

    /// As load(), but a present file that counts as absent is kept aside first (store start-up).
    std::optional<std::vector<FinderViewPreset>> loadKeepingDamagedAside() const;

    /// Writes both copies, then notifies; false, silently, when a write fails.
    bool save(const std::vector<FinderViewPreset>& presets) const;

    static plist::Value encode(const std::vector<FinderViewPreset>& presets);
    static std::optional<std::vector<FinderViewPreset>> decode(const plist::Value& root);

private:
    SettingsFileCopies files_;
};

} // namespace quilla
