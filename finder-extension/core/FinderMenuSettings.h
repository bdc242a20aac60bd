#pragma once

#include "shared/catalog/FinderFeature.h"
#include "shared/formats/FeatureSettingsRules.h"
#include "shared/formats/FinderMenuLayout.h"

#include <set>
#include <string>
#include <vector>

namespace quilla {

/// What the menu shows, as read from the feature settings: the enabled features in menu order,
/// the enabled children, the child order of every feature, the grouping flag and the layout.
struct FinderMenuSettings {
    std::vector<FinderFeature> features;
    std::set<std::string> enabledChildIDs;
    feature_rules::ChildOrderMap childOrderByFeatureID;
    bool groupsFeaturesUnderQuilla = false;
    FinderMenuLayout layout = FinderMenuLayout::collapsed;

    /// The enabled children of `feature` in its stored order (catalog order when none is stored);
    /// IDs that name no child of this feature are skipped.
    std::vector<FinderFeatureChild> children(FinderFeature feature) const;

    bool operator==(const FinderMenuSettings&) const = default;
};

} // namespace quilla
