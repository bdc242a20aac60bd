#pragma once

#include "shared/formats/FinderMenuLayout.h"

#include <map>
#include <set>
#include <string>
#include <vector>

namespace quilla {

/// The user's choice of features, child actions, their order and the menu layout.
struct FeatureSettings {
    std::set<std::string> enabledFeatureIDs;
    bool groupsFeaturesUnderQuilla = false;
    FinderMenuLayout menuLayout = FinderMenuLayout::collapsed;
    std::set<std::string> enabledChildIDs;
    std::vector<std::string> featureOrder;
    std::map<std::string, std::vector<std::string>> childOrderByFeatureID;

    bool operator==(const FeatureSettings&) const = default;
};

} // namespace quilla
