#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace quilla {

/// The file-manager view a preset switches to. The raw value is stored in FinderViewPresets.plist.
enum class FinderViewMode { icon, list, column, gallery };

/// All view modes, in picker order.
inline constexpr std::array<FinderViewMode, 4> allFinderViewModes{FinderViewMode::icon, FinderViewMode::list,
                                                                 FinderViewMode::column, FinderViewMode::gallery};

/// The stable word, e.g. "column".
std::string_view rawValue(FinderViewMode mode);
/// The mode stored under `raw`; nothing for any other word.
std::optional<FinderViewMode> finderViewModeFromRaw(std::string_view raw);

/// The translated picker text, e.g. "列表视图".
std::string title(FinderViewMode mode);
/// The translated word used in automatic preset names, e.g. "列表".
std::string presetNameComponent(FinderViewMode mode);

} // namespace quilla
