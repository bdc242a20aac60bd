#pragma once

#include "app/core/lists/FinderSortMode.h"
#include "app/core/lists/FinderViewMode.h"

#include <set>
#include <string>
#include <string_view>

namespace quilla {

/// A named view and sort combination. Menu items and queued actions refer to it by `id`;
/// equality covers all four fields.
struct FinderViewPreset {
    std::string id;   ///< a new UUID for presets the user adds; fixed words for the defaults
    std::string name; ///< shown in the menu and the list
    FinderViewMode viewMode = FinderViewMode::list;
    FinderSortMode sortMode = FinderSortMode::none;

    bool operator==(const FinderViewPreset&) const = default;
};

/// Joins the two parts of an automatic name: a space, U+00B7 MIDDLE DOT, a space.
inline constexpr std::string_view kPresetNameSeparator = " \u00B7 ";

/// The name a preset gets from its modes, e.g. "列表 · 按修改日期".
std::string automaticName(FinderViewMode viewMode, FinderSortMode sortMode);

/// The names that still follow the modes: automaticName, plus "列表 · 最近修改" for list
/// with modification date (the default preset's name).
std::set<std::string> automaticNames(FinderViewMode viewMode, FinderSortMode sortMode);

/// `preset` switched to `viewMode`; an automatic name follows the new mode, a typed one stays.
FinderViewPreset withViewMode(const FinderViewPreset& preset, FinderViewMode viewMode);
/// `preset` switched to `sortMode`; an automatic name follows the new mode, a typed one stays.
FinderViewPreset withSortMode(const FinderViewPreset& preset, FinderSortMode sortMode);

/// Drops the number an older release appended to duplicate names: a whole name of the form
/// "^(.+ · .+) [0-9]+$" becomes its first group ("图标 · 按名称 2" → "图标 · 按名称").
std::string normalizedPresetName(std::string_view name);

} // namespace quilla
