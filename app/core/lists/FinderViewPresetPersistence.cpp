#include "app/core/lists/FinderViewPresetPersistence.h"

#include "app/core/lists/ListFileReading.h"
#include "shared/QuillaPaths.h"
#include "shared/SettingsFiles.h"

#include <algorithm>

namespace quilla {
namespace {

std::optional<FinderViewPreset> decodedPreset(const plist::Dict& entry) {
    const std::string* id = plist::string(entry, "id");
    const std::string* name = plist::string(entry, "name");
    const std::string* viewMode = plist::string(entry, "viewMode");
    const std::string* sortMode = plist::string(entry, "sortMode");
    if (!id || !name || !viewMode || !sortMode) {
        return std::nullopt;
    }
    auto view = finderViewModeFromRaw(*viewMode);
    auto sort = finderSortModeFromRaw(*sortMode);
    if (!view || !sort) {
        return std::nullopt;
    }
    return FinderViewPreset{*id, normalizedPresetName(*name), *view, *sort};
}

} // namespace

FinderViewPresetPersistence::FinderViewPresetPersistence(QuillaSettingsChangeNotifier& notifier)
    : files_(std::string(settings_files::kFinderViewPresets), std::string(settings_files::kReasonFinderViewPresets),
             notifier) {}

std::filesystem::path FinderViewPresetPersistence::applicationCopy() {
    return paths::appSupportDir() / settings_files::kFinderViewPresets;
}

std::optional<std::vector<FinderViewPreset>> FinderViewPresetPersistence::load() {
    return list_files::read(applicationCopy(), decode);
}

std::optional<FinderViewPreset> FinderViewPresetPersistence::preset(std::string_view id) {
    const auto presets = load();
    if (!presets) {
        return std::nullopt;
    }
    auto it = std::find_if(presets->begin(), presets->end(), [&](const auto& item) { return item.id == id; });
    return it == presets->end() ? std::nullopt : std::optional(*it);
}

std::optional<std::vector<FinderViewPreset>> FinderViewPresetPersistence::loadKeepingDamagedAside() const {
    return list_files::readKeepingDamagedAside(files_.applicationCopy(), decode);
}

bool FinderViewPresetPersistence::save(const std::vector<FinderViewPreset>& presets) const {
    return files_.save(encode(presets));
}

plist::Value FinderViewPresetPersistence::encode(const std::vector<FinderViewPreset>& presets) {
    plist::Array entries;
    entries.reserve(presets.size());
    for (const auto& item : presets) {
        entries.emplace_back(plist::Dict{{"id", item.id},
                                         {"name", item.name},
                                         {"viewMode", std::string(rawValue(item.viewMode))},
                                         {"sortMode", std::string(rawValue(item.sortMode))}});
    }
    return plist::Value(std::move(entries));
}

std::optional<std::vector<FinderViewPreset>> FinderViewPresetPersistence::decode(const plist::Value& root) {
    const plist::Array* entries = list_files::stringDictArray(root);
    if (!entries) {
        return std::nullopt;
    }
    std::vector<FinderViewPreset> result;
    result.reserve(entries->size());
    for (const auto& entry : *entries) {
        if (auto item = decodedPreset(*entry.asDict())) {
            result.push_back(std::move(*item));
        }
    }
    return result;
}

} // namespace quilla
