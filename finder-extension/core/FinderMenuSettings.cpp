#include "finder-extension/core/FinderMenuSettings.h"

#include <algorithm>

namespace quilla {

std::vector<FinderFeatureChild> FinderMenuSettings::children(FinderFeature feature) const {
    const auto& catalogChildren = quilla::children(feature);
    std::vector<std::string> order;
    if (const auto it = childOrderByFeatureID.find(std::string(rawValue(feature))); it != childOrderByFeatureID.end()) {
        order = it->second;
    } else {
        for (const auto& child : catalogChildren) {
            order.push_back(child.actionID);
        }
    }
    std::vector<FinderFeatureChild> result;
    for (const auto& id : order) {
        if (!enabledChildIDs.contains(id)) {
            continue;
        }
        const auto match = std::find_if(catalogChildren.begin(), catalogChildren.end(),
                                        [&](const FinderFeatureChild& child) { return child.actionID == id; });
        if (match != catalogChildren.end()) {
            result.push_back(*match);
        }
    }
    return result;
}

} // namespace quilla
