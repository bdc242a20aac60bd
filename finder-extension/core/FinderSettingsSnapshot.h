#pragma once

#include "finder-extension/core/FinderCustomDestinationSettings.h"
#include "finder-extension/core/FinderCustomShortcutActionSettings.h"
#include "finder-extension/core/FinderMenuSettings.h"
#include "finder-extension/core/FinderPlaces.h"
#include "finder-extension/core/FinderViewPresetSettings.h"

#include <array>
#include <memory>
#include <optional>
#include <vector>

namespace quilla {

class FinderSettingsFileCache;

/// Everything one menu or one click reads from the settings files, loaded on first use and kept
/// for the rest of that request, so each file is read and parsed at most once per request.
class FinderSettingsSnapshot final {
public:
    explicit FinderSettingsSnapshot(FinderSettingsFileCache& cache) : cache_(cache) {}

    const FinderMenuSettings& menuSettings();
    const std::vector<FinderCustomDestination>& destinations(FinderCustomDestinationKind kind);
    const std::vector<FinderCustomShortcutAction>& customActions();
    const std::vector<FinderViewPresetSetting>& presets();
    const FinderPlaces& places();

private:
    FinderSettingsFileCache& cache_;
    std::shared_ptr<const FinderMenuSettings> menuSettings_;
    std::shared_ptr<const FinderCustomDestinationSettings::StoredLists> storedDestinations_;
    std::array<std::optional<std::vector<FinderCustomDestination>>, 4> destinations_;
    std::shared_ptr<const std::vector<FinderCustomShortcutAction>> customActions_;
    std::shared_ptr<const std::vector<FinderViewPresetSetting>> presets_;
    std::optional<FinderPlaces> places_;
};

} // namespace quilla
