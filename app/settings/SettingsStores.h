#pragma once

#include "app/settings/lists/FeatureListEditors.h"

namespace quilla {

class AppPreferencesStore;
class FeatureSettingsStore;

/// Every store the settings window edits; all are owned by the application and outlive the window.
struct SettingsStores {
    FeatureSettingsStore& features;
    AppPreferencesStore& preferences;
    ListEditorStores lists;
};

} // namespace quilla
