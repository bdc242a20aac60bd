#include "finder-extension/core/FinderCustomShortcutActionSettings.h"

#include "finder-extension/core/FinderFeatureSettings.h"
#include "finder-extension/core/FinderSettingsFileCache.h"
#include "finder-extension/core/StringDictionary.h"
#include "shared/PropertyList.h"
#include "shared/QuillaPaths.h"
#include "shared/SettingsFiles.h"

namespace quilla {
namespace {

constexpr std::string_view kShortcutPrefix = "runShortcut__";
constexpr std::string_view kScriptPrefix = "runScript__";

using Entry = std::map<std::string, std::string>;

std::string stringOr(const Entry& entry, const std::string& key) {
    const auto it = entry.find(key);
    return it == entry.end() ? std::string() : it->second;
}

std::optional<FinderCustomShortcutAction> actionFrom(const Entry& entry) {
    if (!entry.contains("id") || !entry.contains("name")) {
        return std::nullopt;
    }
    FinderCustomShortcutAction action;
    action.id = entry.at("id");
    action.name = entry.at("name");
    action.kind = stringOr(entry, "kind") == "script" ? FinderCustomShortcutAction::Kind::script
                                                      : FinderCustomShortcutAction::Kind::shortcut;
    action.shortcutName = stringOr(entry, "shortcutName");
    action.scriptPath = stringOr(entry, "scriptPath");
    const bool script = action.kind == FinderCustomShortcutAction::Kind::script;
    if ((script ? action.scriptPath : action.shortcutName).empty()) {
        return std::nullopt;
    }
    return action;
}

} // namespace

std::string FinderCustomShortcutAction::actionID() const {
    return std::string(kind == Kind::script ? kScriptPrefix : kShortcutPrefix) + id;
}

std::filesystem::path FinderCustomShortcutActionSettings::settingsFilePath() {
    return paths::extensionSupportDir() / settings_files::kCustomShortcutActions;
}

std::vector<FinderCustomShortcutAction> FinderCustomShortcutActionSettings::actions() {
    FinderSettingsFileCache cache;
    return *actions(cache);
}

std::shared_ptr<const std::vector<FinderCustomShortcutAction>>
FinderCustomShortcutActionSettings::actions(FinderSettingsFileCache& cache) {
    return cache.load<std::vector<FinderCustomShortcutAction>>(settingsFilePath(), plist::kMaxFileBytes,
                                                               &parse);
}

std::vector<FinderCustomShortcutAction>
FinderCustomShortcutActionSettings::parse(const std::optional<std::string>& bytes) {
    const auto root = bytes ? plist::parse(*bytes) : std::nullopt;
    const plist::Array* array = root ? root->asArray() : nullptr;
    if (!array) {
        return {};
    }
    std::vector<FinderCustomShortcutAction> result;
    for (const auto& item : *array) {
        const auto entry = stringDictionary(item);
        if (!entry) {
            return {}; // the file is not shaped as the application writes it
        }
        if (auto action = actionFrom(*entry)) {
            result.push_back(std::move(*action));
        }
    }
    return result;
}

std::optional<FinderCustomShortcutAction>
FinderCustomShortcutActionSettings::actionForActionID(const std::vector<FinderCustomShortcutAction>& actions,
                                                      const std::string& actionID) {
    if (!actionID.starts_with(kShortcutPrefix) && !actionID.starts_with(kScriptPrefix)) {
        return std::nullopt;
    }
    for (const auto& action : actions) {
        if (action.actionID() == actionID) {
            return action;
        }
    }
    return std::nullopt;
}

} // namespace quilla
