#include "app/core/FeatureSettingsStore.h"

#include "shared/ListMove.h"
#include "shared/catalog/FeatureCatalogDefaults.h"
#include "shared/formats/FeatureSettingsRules.h"

#include <algorithm>

namespace quilla {
namespace {

std::string featureID(QuillaFeature feature) {
    return std::string(rawValue(feature));
}

std::vector<std::string> catalogChildIDs(QuillaFeature feature) {
    std::vector<std::string> ids;
    for (const auto& child : children(feature)) {
        ids.push_back(child.actionID);
    }
    return ids;
}

} // namespace

FeatureSettingsStore::FeatureSettingsStore(const FeatureSettingsPersistence& persistence)
    : persistence_(persistence), settings_(repaired(persistence.loadSettings())) {
    save();
}

FeatureSettings FeatureSettingsStore::defaults() {
    FeatureSettings settings;
    const auto& features = everydayEnabledFeatureIDs();
    settings.enabledFeatureIDs = {features.begin(), features.end()};
    const auto& childIDs = everydayEnabledChildIDs();
    settings.enabledChildIDs = {childIDs.begin(), childIDs.end()};
    settings.featureOrder = defaultFeatureOrder();
    for (const auto& [id, order] : defaultChildOrderByFeatureID()) {
        settings.childOrderByFeatureID[id] = order;
    }
    return settings;
}

FeatureSettings FeatureSettingsStore::repaired(const std::optional<FeatureSettings>& saved) {
    using namespace feature_rules;
    if (!saved) {
        return defaults();
    }
    FeatureSettings result;
    result.enabledFeatureIDs =
        enabledFeatureIDsWithNewFeatures(saved->enabledFeatureIDs, saved->featureOrder);
    result.groupsFeaturesUnderQuilla = saved->groupsFeaturesUnderQuilla;
    result.menuLayout = saved->menuLayout;
    result.childOrderByFeatureID = normalizedChildOrderByFeatureID(saved->childOrderByFeatureID);
    std::set<std::string> enabledChildren;
    if (saved->enabledChildIDs.empty()) {
        const auto& everyday = everydayEnabledChildIDs();
        enabledChildren = {everyday.begin(), everyday.end()};
    } else {
        enabledChildren =
            enabledChildIDsWithNewChildren(saved->enabledChildIDs, saved->childOrderByFeatureID);
    }
    result.featureOrder = normalizedFeatureOrder(saved->featureOrder);
    const std::vector<std::string> enabledFeatures(result.enabledFeatureIDs.begin(),
                                                   result.enabledFeatureIDs.end());
    result.enabledChildIDs = enabledChildIDsWithVisibleEnabledFeatures(
        validChildIDs(enabledChildren), enabledFeatures, result.childOrderByFeatureID);
    return result;
}

bool FeatureSettingsStore::isEnabled(QuillaFeature feature) const {
    return settings_.enabledFeatureIDs.contains(featureID(feature));
}

bool FeatureSettingsStore::isChildEnabled(std::string_view childID) const {
    return settings_.enabledChildIDs.contains(std::string(childID));
}

void FeatureSettingsStore::setEnabled(bool enabled, QuillaFeature feature) {
    if (!enabled) {
        settings_.enabledFeatureIDs.erase(featureID(feature));
        changed();
        return;
    }
    settings_.enabledFeatureIDs.insert(featureID(feature));
    changed();
    const auto ids = catalogChildIDs(feature);
    const bool anyChildEnabled = std::any_of(
        ids.begin(), ids.end(), [&](const auto& id) { return settings_.enabledChildIDs.contains(id); });
    if (!anyChildEnabled && !ids.empty()) {
        settings_.enabledChildIDs.insert(ids.begin(), ids.end());
        changed();
    }
}

void FeatureSettingsStore::setChildEnabled(bool enabled, std::string_view childID) {
    if (enabled) {
        settings_.enabledChildIDs.insert(std::string(childID));
    } else {
        settings_.enabledChildIDs.erase(std::string(childID));
    }
    changed();
}

void FeatureSettingsStore::setAllChildrenEnabled(bool enabled, QuillaFeature feature) {
    for (const auto& id : catalogChildIDs(feature)) {
        if (enabled) {
            settings_.enabledChildIDs.insert(id);
        } else {
            settings_.enabledChildIDs.erase(id);
        }
    }
    changed();
}

void FeatureSettingsStore::setGroupsFeaturesUnderQuilla(bool groups) {
    settings_.groupsFeaturesUnderQuilla = groups;
    changed();
}

void FeatureSettingsStore::setMenuLayout(FinderMenuLayout layout) {
    settings_.menuLayout = layout;
    changed();
}

std::vector<QuillaFeature> FeatureSettingsStore::orderedFeatures() const {
    std::vector<QuillaFeature> features;
    for (const auto& id : settings_.featureOrder) {
        if (auto feature = quillaFeatureFromID(id)) {
            features.push_back(*feature);
        }
    }
    return features;
}

std::vector<std::string> FeatureSettingsStore::normalizedChildIDs(QuillaFeature feature) const {
    const auto id = featureID(feature);
    const auto it = settings_.childOrderByFeatureID.find(id);
    return feature_rules::normalizedChildOrder(
        it == settings_.childOrderByFeatureID.end() ? std::nullopt : std::optional(it->second), id);
}

std::vector<QuillaFeatureChild> FeatureSettingsStore::orderedChildren(QuillaFeature feature) const {
    std::vector<QuillaFeatureChild> result;
    const auto& catalog = children(feature);
    for (const auto& id : normalizedChildIDs(feature)) {
        auto it =
            std::find_if(catalog.begin(), catalog.end(), [&](const auto& c) { return c.actionID == id; });
        if (it != catalog.end()) {
            result.push_back(*it);
        }
    }
    return result;
}

void FeatureSettingsStore::moveFeatures(const std::set<std::size_t>& offsets, std::size_t destination) {
    moveItems(settings_.featureOrder, offsets, destination);
    changed();
}

void FeatureSettingsStore::moveChildren(QuillaFeature feature, const std::set<std::size_t>& offsets,
                                        std::size_t destination) {
    auto order = normalizedChildIDs(feature);
    moveItems(order, offsets, destination);
    settings_.childOrderByFeatureID[featureID(feature)] = std::move(order);
    changed();
}

bool FeatureSettingsStore::reload() {
    const auto saved = persistence_.loadSettings();
    if (!saved) {
        return false; // a half-edited or removed file is no reason to forget the user's choices
    }
    FeatureSettings adopted = repaired(saved);
    if (adopted == settings_) {
        return false; // our own write coming back
    }
    settings_ = std::move(adopted);
    changed();
    return true;
}

void FeatureSettingsStore::save() {
    lastSaveFailed_ = !persistence_.save(settings_);
}

void FeatureSettingsStore::changed() {
    save();
    notifyChanged();
}

} // namespace quilla
