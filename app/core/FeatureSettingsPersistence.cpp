#include "app/core/FeatureSettingsPersistence.h"

#include "shared/SettingsFiles.h"

namespace quilla {
namespace {

std::vector<std::string> sorted(const std::set<std::string>& ids) {
    return {ids.begin(), ids.end()};
}

std::map<std::string, std::vector<std::string>> childOrderMap(const plist::Dict& root) {
    const plist::Dict* saved = plist::dictionary(root, "childOrderByFeatureID");
    if (!saved) {
        return {};
    }
    std::map<std::string, std::vector<std::string>> result;
    for (const auto& [featureID, value] : *saved) {
        auto list = plist::stringArray(value);
        if (!list) {
            return {}; // not a dictionary of string to array of strings
        }
        result[featureID] = std::move(*list);
    }
    return result;
}

std::set<std::string> stringSet(const plist::Dict& root, std::string_view key) {
    auto list = plist::stringArray(root, key);
    return list ? std::set<std::string>(list->begin(), list->end()) : std::set<std::string>{};
}

} // namespace

FeatureSettingsPersistence::FeatureSettingsPersistence(QuillaSettingsChangeNotifier& notifier)
    : files_(std::string(settings_files::kFeatureSettings),
             std::string(settings_files::kReasonFeatureSettings), notifier) {}

std::optional<FeatureSettings> FeatureSettingsPersistence::loadSettings() const {
    auto root = files_.load();
    return root ? decode(*root) : std::nullopt;
}

bool FeatureSettingsPersistence::save(const FeatureSettings& settings) const {
    return files_.save(encode(settings));
}

plist::Value FeatureSettingsPersistence::encode(const FeatureSettings& settings) {
    plist::Dict childOrder;
    for (const auto& [featureID, ids] : settings.childOrderByFeatureID) {
        childOrder.emplace(featureID, plist::makeStringArray(ids));
    }
    plist::Dict root;
    root.emplace("enabledFeatureIDs", plist::makeStringArray(sorted(settings.enabledFeatureIDs)));
    root.emplace("groupsFeaturesUnderQuilla", settings.groupsFeaturesUnderQuilla);
    root.emplace("menuLayout", std::string(rawValue(settings.menuLayout)));
    root.emplace("enabledChildIDs", plist::makeStringArray(sorted(settings.enabledChildIDs)));
    root.emplace("featureOrder", plist::makeStringArray(settings.featureOrder));
    root.emplace("childOrderByFeatureID", std::move(childOrder));
    return plist::Value(std::move(root));
}

std::optional<FeatureSettings> FeatureSettingsPersistence::decode(const plist::Dict& root) {
    if (!plist::find(root, "enabledFeatureIDs")) {
        return std::nullopt;
    }
    FeatureSettings settings;
    settings.enabledFeatureIDs = stringSet(root, "enabledFeatureIDs");
    settings.groupsFeaturesUnderQuilla = plist::boolean(root, "groupsFeaturesUnderQuilla").value_or(false);
    const std::string* layout = plist::string(root, "menuLayout");
    settings.menuLayout =
        (layout ? finderMenuLayoutFromRaw(*layout) : std::nullopt).value_or(FinderMenuLayout::collapsed);
    settings.enabledChildIDs = stringSet(root, "enabledChildIDs");
    settings.featureOrder = plist::stringArray(root, "featureOrder").value_or(std::vector<std::string>{});
    settings.childOrderByFeatureID = childOrderMap(root);
    return settings;
}

} // namespace quilla
