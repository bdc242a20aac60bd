#include "finder-extension/core/FinderViewPresetSettings.h"

#include "finder-extension/core/FinderFeatureSettings.h"
#include "finder-extension/core/FinderSettingsFileCache.h"
#include "finder-extension/core/StringDictionary.h"
#include "shared/L10n.h"
#include "shared/PropertyList.h"
#include "shared/QuillaPaths.h"
#include "shared/SettingsFiles.h"

namespace quilla {
namespace {

using Entry = std::map<std::string, std::string>;

std::optional<FinderViewPresetSetting> presetFrom(const Entry& entry) {
    for (const char* key : {"id", "name", "viewMode", "sortMode"}) {
        if (!entry.contains(key)) {
            return std::nullopt;
        }
    }
    return FinderViewPresetSetting{entry.at("id"),
                                   FinderViewPresetSettings::normalizeAutoNumberedName(entry.at("name")),
                                   entry.at("viewMode"), entry.at("sortMode")};
}

// What "." of a regular expression does not match: the line terminators.
bool hasLineTerminator(std::string_view text) {
    for (const std::string_view terminator : {"\n", "\v", "\f", "\r", "\u0085", "\u2028", "\u2029"}) {
        if (text.find(terminator) != std::string_view::npos) {
            return true;
        }
    }
    return false;
}

} // namespace

std::string FinderViewPresetSetting::actionID() const {
    return std::string(FinderViewPresetSettings::kActionIDPrefix) + id;
}

std::filesystem::path FinderViewPresetSettings::settingsFilePath() {
    return paths::extensionSupportDir() / settings_files::kFinderViewPresets;
}

std::vector<FinderViewPresetSetting> FinderViewPresetSettings::presets() {
    FinderSettingsFileCache cache;
    return *presets(cache);
}

std::shared_ptr<const std::vector<FinderViewPresetSetting>>
FinderViewPresetSettings::presets(FinderSettingsFileCache& cache) {
    return cache.load<std::vector<FinderViewPresetSetting>>(settingsFilePath(), plist::kMaxFileBytes, &parse);
}

std::vector<FinderViewPresetSetting>
FinderViewPresetSettings::parse(const std::optional<std::string>& bytes) {
    const auto root = bytes ? plist::parse(*bytes) : std::nullopt;
    const plist::Array* array = root ? root->asArray() : nullptr;
    if (!array) {
        return defaultPresets();
    }
    std::vector<FinderViewPresetSetting> result;
    for (const auto& item : *array) {
        const auto entry = stringDictionary(item);
        if (!entry) {
            return defaultPresets(); // not shaped as the application writes it
        }
        if (auto preset = presetFrom(*entry)) {
            result.push_back(std::move(*preset));
        }
    }
    return result; // a well-formed file may hold no preset at all
}

std::vector<FinderViewPresetSetting> FinderViewPresetSettings::defaultPresets() {
    return {
        {"list-modified", L10n::text<"列表 · 最近修改">(), "list", "modificationDate"},
        {"icon-name", L10n::text<"图标 · 按名称">(), "icon", "name"},
        {"column-name", L10n::text<"分栏 · 按名称">(), "column", "name"},
    };
}

std::string FinderViewPresetSettings::normalizeAutoNumberedName(const std::string& name) {
    // The whole name must match "^(.+ · .+) [0-9]+$"; the result is the group. Written out by
    // hand: a regular expression engine that recurses per character could overflow the stack on
    // a very long name from a damaged file.
    constexpr std::string_view separator = " · ";
    std::size_t digits = name.size();
    while (digits > 0 && name[digits - 1] >= '0' && name[digits - 1] <= '9') {
        --digits;
    }
    if (digits == name.size() || digits < 2 || name[digits - 1] != ' ') {
        return name;
    }
    const std::string_view group(name.data(), digits - 1);
    const auto at = group.find(separator, 1);
    const bool matches =
        at != std::string_view::npos && group.size() > at + separator.size() && !hasLineTerminator(group);
    return matches ? std::string(group) : name;
}

} // namespace quilla
