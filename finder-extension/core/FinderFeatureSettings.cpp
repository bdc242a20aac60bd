#include "finder-extension/core/FinderFeatureSettings.h"

#include "finder-extension/core/FinderSettingsFileCache.h"
#include "shared/FileIO.h"
#include "shared/QuillaPaths.h"
#include "shared/SettingsFiles.h"
#include "shared/catalog/FeatureCatalogDefaults.h"

namespace quilla {
namespace {

using feature_rules::ChildOrderMap;

std::vector<FinderFeature> featuresIn(const std::vector<std::string>& order,
                                      const std::set<std::string>& enabled) {
    std::vector<FinderFeature> features;
    for (const auto& id : order) {
        if (!enabled.contains(id)) {
            continue;
        }
        if (auto feature = finderFeatureFromID(id)) {
            features.push_back(*feature);
        }
    }
    return features;
}

std::vector<std::string> featureIDs(const std::vector<FinderFeature>& features) {
    std::vector<std::string> ids;
    for (const auto feature : features) {
        ids.emplace_back(rawValue(feature));
    }
    return ids;
}

std::vector<FinderFeature> defaultEnabledFeatures() {
    const auto& enabled = everydayEnabledFeatureIDs();
    return featuresIn(defaultFeatureOrder(), std::set<std::string>(enabled.begin(), enabled.end()));
}

// A dictionary of string to array of strings; one wrongly typed entry makes the whole map absent.
ChildOrderMap savedChildOrder(const plist::Dict& root) {
    const plist::Dict* saved = plist::dictionary(root, "childOrderByFeatureID");
    if (!saved) {
        return {};
    }
    ChildOrderMap result;
    for (const auto& [featureID, value] : *saved) {
        auto list = plist::stringArray(value);
        if (!list) {
            return {};
        }
        result.emplace(featureID, std::move(*list));
    }
    return result;
}

std::set<std::string> enabledChildIDs(const std::optional<std::vector<std::string>>& saved,
                                      const ChildOrderMap& savedOrder) {
    const auto& defaults = everydayEnabledChildIDs();
    if (!saved) {
        return {defaults.begin(), defaults.end()};
    }
    std::set<std::string> result(saved->begin(), saved->end());
    if (savedOrder.empty()) {
        // No saved order mentions any child, so every default-enabled child counts as new.
        result.insert(defaults.begin(), defaults.end());
    } else {
        result = feature_rules::enabledChildIDsWithNewChildren(result, savedOrder);
    }
    return feature_rules::validChildIDs(result);
}

FinderMenuSettings fromDictionary(const plist::Dict& root) {
    FinderMenuSettings settings;
    if (auto enabled = plist::stringArray(root, "enabledFeatureIDs")) {
        const auto savedOrder = plist::stringArray(root, "featureOrder").value_or(std::vector<std::string>{});
        const auto enabledIDs =
            feature_rules::enabledFeatureIDsWithNewFeatures({enabled->begin(), enabled->end()}, savedOrder);
        settings.features = featuresIn(feature_rules::normalizedFeatureOrder(savedOrder), enabledIDs);
    } else {
        settings.features = defaultEnabledFeatures();
    }
    const ChildOrderMap savedOrder = savedChildOrder(root);
    settings.childOrderByFeatureID = feature_rules::normalizedChildOrderByFeatureID(savedOrder);
    settings.enabledChildIDs = feature_rules::enabledChildIDsWithVisibleEnabledFeatures(
        enabledChildIDs(plist::stringArray(root, "enabledChildIDs"), savedOrder),
        featureIDs(settings.features), settings.childOrderByFeatureID);
    settings.groupsFeaturesUnderQuilla = plist::boolean(root, "groupsFeaturesUnderQuilla").value_or(false);
    const std::string* layout = plist::string(root, "menuLayout");
    settings.layout =
        (layout ? finderMenuLayoutFromRaw(*layout) : std::nullopt).value_or(FinderMenuLayout::collapsed);
    return settings;
}

} // namespace

std::filesystem::path FinderFeatureSettings::settingsFilePath() {
    return paths::extensionSupportDir() / settings_files::kFeatureSettings;
}

FinderMenuSettings FinderFeatureSettings::menu() {
    return menuSettings(readFileCapped(settingsFilePath(), plist::kMaxFileBytes));
}

std::shared_ptr<const FinderMenuSettings> FinderFeatureSettings::menu(FinderSettingsFileCache& cache) {
    return cache.load<FinderMenuSettings>(settingsFilePath(), plist::kMaxFileBytes,
                                          &FinderFeatureSettings::menuSettings);
}

FinderMenuSettings FinderFeatureSettings::menuSettings(const std::optional<std::string>& bytes) {
    if (!bytes) {
        return defaultMenuSettings();
    }
    const auto root = plist::parse(*bytes);
    return menuSettings(root ? &*root : nullptr);
}

FinderMenuSettings FinderFeatureSettings::menuSettings(const plist::Value* root) {
    const plist::Dict* dict = root ? root->asDict() : nullptr;
    return dict ? fromDictionary(*dict) : defaultMenuSettings();
}

FinderMenuSettings FinderFeatureSettings::defaultMenuSettings() {
    FinderMenuSettings settings;
    settings.features = defaultEnabledFeatures();
    for (const auto& [featureID, ids] : defaultChildOrderByFeatureID()) {
        settings.childOrderByFeatureID.emplace(featureID, ids);
    }
    const auto& defaults = everydayEnabledChildIDs();
    settings.enabledChildIDs = feature_rules::enabledChildIDsWithVisibleEnabledFeatures(
        {defaults.begin(), defaults.end()}, featureIDs(settings.features), settings.childOrderByFeatureID);
    return settings;
}

} // namespace quilla
