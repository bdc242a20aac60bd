#pragma once

#include <string_view>
#include <vector>

class QWidget;

namespace quilla {

class CustomDestinationStore;
class CustomShortcutActionStore;
class FinderViewPresetStore;
class ScheduledDeletionListStore;
class ListPrompts;

/// The stores and choosers the list editors work on; all outlive the settings window.
struct ListEditorStores {
    CustomDestinationStore& destinations;
    CustomShortcutActionStore& shortcutActions;
    FinderViewPresetStore& viewPresets;
    ScheduledDeletionListStore& scheduledDeletions;
    ListPrompts& prompts;
};

/// The list editors a feature page shows below its children, top to bottom, parented to `parent`;
/// empty for a feature without lists.
std::vector<QWidget*> makeFeatureListEditors(std::string_view featureID, ListEditorStores& stores,
                                             QWidget* parent);

} // namespace quilla
