#include "app/core/lists/FinderViewPreset.h"

#include "shared/L10n.h"

#include <algorithm>

namespace quilla {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Whether `text` matches ".+ · .+", where "." is any character but a line break.
bool isTwoPartName(std::string_view text) {
    if (text.find_first_of("\r\n") != std::string_view::npos) {
        return false;
    }
    for (auto at = text.find(kPresetNameSeparator, 1); at != std::string_view::npos;
         at = text.find(kPresetNameSeparator, at + 1)) {
        if (at + kPresetNameSeparator.size() < text.size()) {
            return true;
        }
    }
    return false;
}

} // namespace

std::string automaticName(FinderViewMode viewMode, FinderSortMode sortMode) {
    return presetNameComponent(viewMode) + std::string(kPresetNameSeparator) + presetNameComponent(sortMode);
}

std::set<std::string> automaticNames(FinderViewMode viewMode, FinderSortMode sortMode) {
    std::set<std::string> names{automaticName(viewMode, sortMode)};
    if (viewMode == FinderViewMode::list && sortMode == FinderSortMode::modificationDate) {
        names.insert(L10n::text<"列表 · 最近修改">());
    }
    return names;
}

FinderViewPreset withViewMode(const FinderViewPreset& preset, FinderViewMode viewMode) {
    FinderViewPreset result = preset;
    if (automaticNames(preset.viewMode, preset.sortMode).contains(preset.name)) {
        result.name = automaticName(viewMode, preset.sortMode);
    }
    result.viewMode = viewMode;
    return result;
}

FinderViewPreset withSortMode(const FinderViewPreset& preset, FinderSortMode sortMode) {
    FinderViewPreset result = preset;
    if (automaticNames(preset.viewMode, preset.sortMode).contains(preset.name)) {
        result.name = automaticName(preset.viewMode, sortMode);
    }
    result.sortMode = sortMode;
    return result;
}

std::string normalizedPresetName(std::string_view name) {
    // The trailing number is the whole final run of digits: a shorter run would follow a digit,
    // not the space the pattern requires.
    const auto digits = std::find_if_not(name.rbegin(), name.rend(), isDigit) - name.rbegin();
    if (digits == 0) {
        return std::string(name);
    }
    const auto stem = name.substr(0, name.size() - static_cast<std::size_t>(digits));
    if (!stem.ends_with(' ') || !isTwoPartName(stem.substr(0, stem.size() - 1))) {
        return std::string(name);
    }
    return std::string(stem.substr(0, stem.size() - 1));
}

} // namespace quilla
