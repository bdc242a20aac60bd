#include "app/core/lists/FinderViewMode.h"

#include "shared/L10n.h"

namespace quilla {
namespace {

struct ViewModeTexts {
    std::string_view raw;
    std::string_view title;
    std::string_view nameComponent;
};

constexpr std::array<ViewModeTexts, 4> kTexts{{
    {"icon", "图标视图", "图标"},
    {"list", "列表视图", "列表"},
    {"column", "分栏视图", "分栏"},
    {"gallery", "画廊视图", "画廊"},
}};

const ViewModeTexts& texts(FinderViewMode mode) { return kTexts[static_cast<std::size_t>(mode)]; }

// The titles are translated through the table, so their keys are registered here.
[[maybe_unused]] const bool kTitlesRegistered = [] {
    for (const auto& row : kTexts) {
        L10n::registerKey(row.title);
        L10n::registerKey(row.nameComponent);
    }
    return true;
}();

} // namespace

std::string_view rawValue(FinderViewMode mode) { return texts(mode).raw; }

std::optional<FinderViewMode> finderViewModeFromRaw(std::string_view raw) {
    for (auto mode : allFinderViewModes) {
        if (rawValue(mode) == raw) {
            return mode;
        }
    }
    return std::nullopt;
}

std::string title(FinderViewMode mode) { return L10n::text(texts(mode).title); }

std::string presetNameComponent(FinderViewMode mode) { return L10n::text(texts(mode).nameComponent); }

} // namespace quilla
