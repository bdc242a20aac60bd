#include "app/core/lists/CustomShortcutActionPersistence.h"

#include "app/core/lists/ListFileReading.h"
#include "shared/QuillaPaths.h"
#include "shared/SettingsFiles.h"

#include <algorithm>

namespace quilla {
namespace {

std::optional<CustomShortcutAction> decodedAction(const plist::Dict& entry) {
    const std::string* id = plist::string(entry, "id");
    const std::string* name = plist::string(entry, "name");
    if (!id || !name) {
        return std::nullopt;
    }
    const std::string* kind = plist::string(entry, "kind");
    const std::string* shortcutName = plist::string(entry, "shortcutName");
    const std::string* scriptPath = plist::string(entry, "scriptPath");
    CustomShortcutAction result{
        *id, *name,
        (kind ? customShortcutActionKindFromRaw(*kind) : std::nullopt).value_or(CustomShortcutAction::Kind::shortcut),
        shortcutName ? *shortcutName : std::string(), scriptPath ? *scriptPath : std::string()};
    if (result.detailText().empty()) {
        return std::nullopt; // nothing to run
    }
    return result;
}

} // namespace

CustomShortcutActionPersistence::CustomShortcutActionPersistence(QuillaSettingsChangeNotifier& notifier)
    : files_(std::string(settings_files::kCustomShortcutActions),
             std::string(settings_files::kReasonCustomShortcutActions), notifier) {}

std::filesystem::path CustomShortcutActionPersistence::applicationCopy() {
    return paths::appSupportDir() / settings_files::kCustomShortcutActions;
}

std::vector<CustomShortcutAction> CustomShortcutActionPersistence::load() {
    return list_files::read(applicationCopy(), decode).value_or(std::vector<CustomShortcutAction>{});
}

std::optional<CustomShortcutAction> CustomShortcutActionPersistence::action(std::string_view id) {
    const auto actions = load();
    auto it = std::find_if(actions.begin(), actions.end(), [&](const auto& item) { return item.id == id; });
    return it == actions.end() ? std::nullopt : std::optional(*it);
}

std::vector<CustomShortcutAction> CustomShortcutActionPersistence::loadKeepingDamagedAside() const {
    return list_files::readKeepingDamagedAside(files_.applicationCopy(), decode)
        .value_or(std::vector<CustomShortcutAction>{});
}

bool CustomShortcutActionPersistence::save(const std::vector<CustomShortcutAction>& actions) const {
    return files_.save(encode(actions));
}

plist::Value CustomShortcutActionPersistence::encode(const std::vector<CustomShortcutAction>& actions) {
    plist::Array entries;
    entries.reserve(actions.size());
    for (const auto& item : actions) {
        entries.emplace_back(plist::Dict{{"id", item.id},
                                         {"name", item.name},
                                         {"kind", std::string(rawValue(item.kind))},
                                         {"shortcutName", item.shortcutName},
                                         {"scriptPath", item.scriptPath}});
    }
    return plist::Value(std::move(entries));
}

std::optional<std::vector<CustomShortcutAction>> CustomShortcutActionPersistence::decode(const plist::Value& root) {
    const plist::Array* entries = list_files::stringDictArray(root);
    if (!entries) {
        return std::nullopt;
    }
    std::vector<CustomShortcutAction> result;
    result.reserve(entries->size());
    for (const auto& entry : *entries) {
        if (auto item = decodedAction(*entry.asDict())) {
            result.push_back(std::move(*item));
        }
    }
    return result;
}

} // namespace quilla
