#include "app/settings/lists/FeatureListEditors.h"

#include "app/settings/lists/CustomDestinationSection.h"
#include "app/settings/lists/CustomShortcutActionSection.h"
#include "app/settings/lists/FinderViewPresetSection.h"
#include "app/settings/lists/ScheduledDeletionSection.h"
#include "shared/catalog/QuillaFeature.h"

#include <QWidget>

namespace quilla {

std::vector<QWidget*> makeFeatureListEditors(std::string_view featureID, ListEditorStores& stores,
                                             QWidget* parent) {
    const auto feature = quillaFeatureFromID(featureID);
    if (!feature) {
        return {};
    }
    // The rows wear the page's colours, so a list reads as part of its feature.
    const auto colors = iconColors(*feature);
    const auto destinations = [&](CustomDestinationKind kind) -> std::vector<QWidget*> {
        return {new CustomDestinationSection(kind, stores.destinations, stores.prompts, colors, parent)};
    };
    switch (*feature) {
    case QuillaFeature::copyFile:
        return destinations(CustomDestinationKind::copy);
    case QuillaFeature::organizeFile:
        return destinations(CustomDestinationKind::move);
    case QuillaFeature::quickOpen:
        return destinations(CustomDestinationKind::quickOpen);
    case QuillaFeature::openWith:
        return destinations(CustomDestinationKind::openApplication);
    case QuillaFeature::viewOptions:
        return {new FinderViewPresetSection(stores.viewPresets, colors, parent)};
    case QuillaFeature::customActions:
        return {new CustomShortcutActionSection(stores.shortcutActions, stores.prompts, colors, parent)};
    case QuillaFeature::scheduledDeletion:
        return {new ScheduledDeletionSection(stores.scheduledDeletions, colors, parent)};
    default:
        return {};
    }
}

} // namespace quilla
