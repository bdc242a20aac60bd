#include "app/core/FeatureSettingsPersistence.h"

#include "shared/SettingsFiles.h"

namespace quilla {
namespace {

using ChildOrder = std::map<std::string, std::vector<std::string>>;

std::vector<std::string> sorted(const std::set<std::string>& ids) {
    return {ids.begin(), ids.end()};
}

// Reads the typed values of one file and remembers whether any key held a value of another type.
class TypedReader final {
public:
    explicit TypedReader(const plist::Dict& root) : root_(root) {}

    std::optional<std::vector<std::string>> strings(std::string_view key) {
        return checked(key, plist::stringArray(root_, key));
    }

    std::optional<bool> boolean(std::string_view key) { return checked(key, plist::boolean(root_, key)); }

    std::optional<std::string> string(std::string_view key) {
        const std::string* text = plist::string(root_, key);
        return checked(key, text ? std::optional(*text) : std::nullopt);
    }

    // A dictionary of string to array of strings; one wrongly typed entry makes the whole map wrong.
    std::optional<ChildOrder> childOrder(std::string_view key) {
        const plist::Dict* saved = plist::dictionary(root_, key);
        std::optional<ChildOrder> result;
        if (saved) {
            result.emplace();
            for (const auto& [featureID, value] : *saved) {
                auto list = plist::stringArray(value);
                if (!list) {
                    result.reset();
                    break;
                }
                result->emplace(featureID, std::move(*list));
            }
        }
        return checked(key, std::move(result));
    }

    bool wronglyTyped() const { return wronglyTyped_; }

private:
    template <typename T> std::optional<T> checked(std::string_view key, std::optional<T> value) {
        if (!value && plist::find(root_, key)) {
            wronglyTyped_ = true;
        }
        return value;
    }

    const plist::Dict& root_;
    bool wronglyTyped_ = false;
};

std::set<std::string> toSet(const std::optional<std::vector<std::string>>& list) {
    return list ? std::set<std::string>(list->begin(), list->end()) : std::set<std::string>{};
}

} // namespace

FeatureSettingsPersistence::FeatureSettingsPersistence(QuillaSettingsChangeNotifier& notifier)
    : files_(std::string(settings_files::kFeatureSettings),
             std::string(settings_files::kReasonFeatureSettings), notifier) {}

std::optional<FeatureSettings> FeatureSettingsPersistence::loadSettings() const {
    auto root = files_.load();
    if (!root) {
        return std::nullopt;
    }
    auto decoded = decode(*root);
    if (decoded.wronglyTyped) {
        // The start-up save repairs the file; what it held stays beside it.
        keepDamagedFileAside(files_.applicationCopy());
    }
    return std::move(decoded.settings);
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

FeatureSettingsPersistence::Decoded FeatureSettingsPersistence::decode(const plist::Dict& root) {
    TypedReader reader(root);
    const auto enabledFeatureIDs = reader.strings("enabledFeatureIDs");
    FeatureSettings settings;
    settings.groupsFeaturesUnderQuilla = reader.boolean("groupsFeaturesUnderQuilla").value_or(false);
    const auto layout = reader.string("menuLayout");
    settings.menuLayout =
        (layout ? finderMenuLayoutFromRaw(*layout) : std::nullopt).value_or(FinderMenuLayout::collapsed);
    settings.enabledChildIDs = toSet(reader.strings("enabledChildIDs"));
    settings.featureOrder = reader.strings("featureOrder").value_or(std::vector<std::string>{});
    settings.childOrderByFeatureID = reader.childOrder("childOrderByFeatureID").value_or(ChildOrder{});
    // A wrongly typed enabled set is repaired as a missing one (no saved settings), never as
    // "nothing enabled".
    if (!enabledFeatureIDs) {
        return {std::nullopt, reader.wronglyTyped()};
    }
    settings.enabledFeatureIDs = toSet(enabledFeatureIDs);
    return {std::move(settings), reader.wronglyTyped()};
}

} // namespace quilla
