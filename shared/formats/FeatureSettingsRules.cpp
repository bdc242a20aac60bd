#include "shared/formats/FeatureSettingsRules.h"

#include "shared/catalog/FeatureCatalogDefaults.h"
#include "shared/catalog/FinderFeature.h"

#include <algorithm>

namespace quilla::feature_rules {
namespace {

std::vector<std::string> catalogChildIDs(FinderFeature feature) {
    std::vector<std::string> ids;
    for (const auto& child : children(feature)) {
        ids.push_back(child.actionID);
    }
    return ids;
}

bool contains(const std::vector<std::string>& list, const std::string& id) {
    return std::find(list.begin(), list.end(), id) != list.end();
}

} // namespace

const std::vector<std::string>& legacyScheduledDeletionOrder() {
    static const std::vector<std::string> order{"scheduleDelete7Days", "scheduleDelete30Days",
                                                "scheduleDelete90Days", "scheduleDelete1Hour"};
    return order;
}

std::vector<std::string> normalizedFeatureOrder(const std::vector<std::string>& saved) {
    const auto& defaults = defaultFeatureOrder();
    std::vector<std::string> result;
    for (const auto& id : saved) {
        if (contains(defaults, id) && !contains(result, id)) {
            result.push_back(id);
        }
    }
    for (const auto& id : defaults) {
        if (!contains(result, id)) {
            result.push_back(id);
        }
    }
    return result;
}

std::vector<std::string> normalizedChildOrder(const std::optional<std::vector<std::string>>& saved,
                                              const std::string& featureID) {
    const auto feature = finderFeatureFromID(featureID);
    if (!feature) {
        return {};
    }
    const auto catalog = catalogChildIDs(*feature);
    if (*feature == FinderFeature::scheduledDeletion && saved &&
        (!contains(*saved, "scheduleDelete1Hour") || *saved == legacyScheduledDeletionOrder())) {
        return catalog;
    }
    std::vector<std::string> result;
    if (saved) {
        for (const auto& id : *saved) {
            if (contains(catalog, id)) {
                result.push_back(id); // repeats are kept, as the application holds them
            }
        }
    }
    for (const auto& id : catalog) {
        if (!contains(result, id)) {
            result.push_back(id);
        }
    }
    return result;
}

ChildOrderMap normalizedChildOrderByFeatureID(const ChildOrderMap& saved) {
    ChildOrderMap result;
    for (const auto feature : allFinderFeatures()) {
        const std::string id(rawValue(feature));
        const auto it = saved.find(id);
        result[id] = normalizedChildOrder(it == saved.end() ? std::nullopt : std::optional(it->second), id);
    }
    return result;
}

std::set<std::string> enabledFeatureIDsWithNewFeatures(const std::set<std::string>& saved,
                                                       const std::vector<std::string>& savedOrder) {
    std::set<std::string> result = saved;
    if (savedOrder.empty()) {
        return result;
    }
    for (const auto& id : everydayEnabledFeatureIDs()) {
        if (!contains(savedOrder, id)) {
            result.insert(id);
        }
    }
    return result;
}

std::set<std::string> enabledChildIDsWithNewChildren(const std::set<std::string>& saved,
                                                     const ChildOrderMap& savedOrder) {
    std::set<std::string> result = saved;
    if (savedOrder.empty()) {
        return result;
    }
    for (const auto& id : everydayEnabledChildIDs()) {
        const bool listed = std::any_of(savedOrder.begin(), savedOrder.end(),
                                        [&](const auto& entry) { return contains(entry.second, id); });
        if (!listed) {
            result.insert(id);
        }
    }
    return result;
}

std::set<std::string> validChildIDs(const std::set<std::string>& ids) {
    std::set<std::string> result;
    for (const auto& id : ids) {
        if (finderFeatureChild(id)) {
            result.insert(id);
        }
    }
    return result;
}

std::set<std::string> enabledChildIDsWithVisibleEnabledFeatures(std::set<std::string> enabled,
                                                                const std::vector<std::string>& featureIDs,
                                                                const ChildOrderMap& childOrder) {
    for (const auto feature : allFinderFeatures()) {
        const std::string id(rawValue(feature));
        if (!contains(featureIDs, id) || children(feature).empty()) {
            continue;
        }
        const auto it = childOrder.find(id);
        const auto list = it != childOrder.end() ? it->second : catalogChildIDs(feature);
        const bool anyEnabled = std::any_of(list.begin(), list.end(), [&](const auto& c) { return enabled.contains(c); });
        if (!anyEnabled) {
            enabled.insert(list.begin(), list.end());
        }
    }
    return enabled;
}

} // namespace quilla::feature_rules
