#pragma once

#include "app/core/FeatureSettingsPersistence.h"
#include "app/core/FeatureSettingsStore.h"
#include "app/core/deletion/ScheduledDeletionListStore.h"
#include "app/core/deletion/ScheduledDeletionStore.h"
#include "app/core/lists/CustomDestinationPersistence.h"
#include "app/core/lists/CustomDestinationStore.h"
#include "app/core/lists/CustomShortcutActionPersistence.h"
#include "app/core/lists/CustomShortcutActionStore.h"
#include "app/core/lists/FinderViewPresetPersistence.h"
#include "app/core/lists/FinderViewPresetStore.h"
#include "app/core/platform/LoginItem.h"
#include "app/core/preferences/AppPreferencesStore.h"
#include "app/settings/CancellingListPrompts.h"
#include "app/settings/SettingsStores.h"
#include "shared/SettingsChangeNotifier.h"

namespace quilla {

/// A login item that only remembers its state (no autostart file is written).
class InMemoryLoginItem final : public LoginItem {
public:
    bool enabled = false;
    bool isEnabled() const override { return enabled; }
    bool registerItem(std::string* error = nullptr) override;
    bool unregisterItem(std::string* error = nullptr) override;
};

/// Every store the settings window edits, over the files of the current HOME, without the rest
/// of the application: for the screenshots, the benchmark and the widget tests. Change
/// notifications are recorded instead of sent.
class StandaloneSettingsStores final {
public:
    StandaloneSettingsStores() = default;
    StandaloneSettingsStores(const StandaloneSettingsStores&) = delete;
    StandaloneSettingsStores& operator=(const StandaloneSettingsStores&) = delete;

    RecordingSettingsChangeNotifier notifier;
    FeatureSettingsPersistence featurePersistence{notifier};
    FeatureSettingsStore features{featurePersistence};
    CustomDestinationPersistence destinationPersistence{notifier};
    CustomDestinationStore destinations{destinationPersistence};
    CustomShortcutActionPersistence shortcutPersistence{notifier};
    CustomShortcutActionStore shortcutActions{shortcutPersistence};
    FinderViewPresetPersistence presetPersistence{notifier};
    FinderViewPresetStore viewPresets{presetPersistence};
    InMemoryLoginItem loginItem;
    AppPreferencesStore preferences{loginItem};
    ScheduledDeletionStore deletionStore;
    ScheduledDeletionListStore scheduledDeletions{deletionStore};
    CancellingListPrompts prompts;
    SettingsStores stores{
        features, preferences,
        ListEditorStores{destinations, shortcutActions, viewPresets, scheduledDeletions, prompts}};
};

} // namespace quilla
