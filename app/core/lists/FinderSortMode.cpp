#include "app/core/lists/FinderSortMode.h"

#include "shared/L10n.h"

namespace quilla {
namespace {

struct SortModeTexts {
    std::string_view raw;
    std::string_view title;
    std::string_view nameComponent;
    std::string_view iconArrangement; // "" = none
    std::string_view listColumn;
    std::string_view direction;
};

// clang-format off
constexpr std::array<SortModeTexts, 7> kTexts{{
    {"none", "不改变排序", "不改变排序", "", "", ""},
    {"name", "按名称排序", "按名称", "arranged by name", "name column", "normal"},
    {"modificationDate", "按修改日期排序", "按修改日期", "arranged by modification date", "modification date column", "reversed"},
    {"creationDate", "按创建日期排序", "按创建日期", "arranged by creation date", "creation date column", "reversed"},
    {"size", "按大小排序", "按大小", "arranged by size", "size column", "reversed"},
    {"kind", "按种类排序", "按种类", "arranged by kind", "kind column", "normal"},
    {"label", "按标签排序", "按标签", "arranged by label", "label column", "normal"},
}};
// clang-format on

const SortModeTexts& texts(FinderSortMode mode) { return kTexts[static_cast<std::size_t>(mode)]; }

std::optional<std::string_view> present(std::string_view value) {
    return value.empty() ? std::nullopt : std::optional(value);
}

// The titles are translated through the table, so their keys are registered here.
[[maybe_unused]] const bool kTitlesRegistered = [] {
    for (const auto& row : kTexts) {
        L10n::registerKey(row.title);
        L10n::registerKey(row.nameComponent);
    }
    return true;
}();

} // namespace

std::string_view rawValue(FinderSortMode mode) { return texts(mode).raw; }

std::optional<FinderSortMode> finderSortModeFromRaw(std::string_view raw) {
    for (auto mode : allFinderSortModes) {
        if (rawValue(mode) == raw) {
            return mode;
        }
    }
    return std::nullopt;
}

std::string title(FinderSortMode mode) { return L10n::text(texts(mode).title); }

std::string presetNameComponent(FinderSortMode mode) { return L10n::text(texts(mode).nameComponent); }

std::optional<std::string_view> iconArrangementValue(FinderSortMode mode) {
    return present(texts(mode).iconArrangement);
}

std::optional<std::string_view> listColumnValue(FinderSortMode mode) { return present(texts(mode).listColumn); }

std::optional<std::string_view> sortDirectionValue(FinderSortMode mode) { return present(texts(mode).direction); }

} // namespace quilla
