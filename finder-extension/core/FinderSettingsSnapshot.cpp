#include "finder-extension/core/FinderSettingsSnapshot.h"

#include "finder-extension/core/FinderFeatureSettings.h"

namespace quilla {

const FinderMenuSettings& FinderSettingsSnapshot::menuSettings() {
    if (!menuSettings_) {
        menuSettings_ = FinderFeatureSettings::menu(cache_);
    }
    return *menuSettings_;
}

const std::vector<FinderCustomDestination>& FinderSettingsSnapshot::destinations(FinderCustomDestinationKind kind) {
    auto& slot = destinations_[static_cast<std::size_t>(kind)];
    if (!slot) {
        if (!storedDestinations_) {
            storedDestinations_ = FinderCustomDestinationSettings::storedLists(cache_);
        }
        slot = FinderCustomDestinationSettings::destinations(kind, *storedDestinations_, cache_, places());
    }
    return *slot;
}

const std::vector<FinderCustomShortcutAction>& FinderSettingsSnapshot::customActions() {
    if (!customActions_) {
        customActions_ = FinderCustomShortcutActionSettings::actions(cache_);
    }
    return *customActions_;
}

const std::vector<FinderViewPresetSetting>& FinderSettingsSnapshot::presets() {
    if (!presets_) {
        presets_ = FinderViewPresetSettings::presets(cache_);
    }
    return *presets_;
}

const FinderPlaces& FinderSettingsSnapshot::places() {
    if (!places_) {
        places_ = FinderPlaces::current(cache_);
    }
    return *places_;
}

} // namespace quilla
