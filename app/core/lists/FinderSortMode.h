#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace quilla {

/// The sort order a preset applies; `none` leaves sorting alone. The raw value is stored in
/// FinderViewPresets.plist.
enum class FinderSortMode { none, name, modificationDate, creationDate, size, kind, label };

/// All sort modes, in picker order.
inline constexpr std::array<FinderSortMode, 7> allFinderSortModes{
    FinderSortMode::none, FinderSortMode::name, FinderSortMode::modificationDate, FinderSortMode::creationDate,
    FinderSortMode::size, FinderSortMode::kind, FinderSortMode::label};

/// The stable word, e.g. "modificationDate".
std::string_view rawValue(FinderSortMode mode);
/// The mode stored under `raw`; nothing for any other word.
std::optional<FinderSortMode> finderSortModeFromRaw(std::string_view raw);

/// The translated picker text, e.g. "按名称排序".
std::string title(FinderSortMode mode);
/// The translated words used in automatic preset names, e.g. "按名称".
std::string presetNameComponent(FinderSortMode mode);

// The untranslated words of the view script; nothing for `none`.
/// Icon-view arrangement, e.g. "arranged by name".
std::optional<std::string_view> iconArrangementValue(FinderSortMode mode);
/// List-view sort column, e.g. "name column".
std::optional<std::string_view> listColumnValue(FinderSortMode mode);
/// Sort direction: "normal" or "reversed".
std::optional<std::string_view> sortDirectionValue(FinderSortMode mode);

} // namespace quilla
