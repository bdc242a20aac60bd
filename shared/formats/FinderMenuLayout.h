#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace quilla {

/// How the context menu shows features: one submenu per feature, or all children in place.
enum class FinderMenuLayout { collapsed, expanded };

inline constexpr std::array<FinderMenuLayout, 2> allFinderMenuLayouts{FinderMenuLayout::collapsed,
                                                                     FinderMenuLayout::expanded};

constexpr std::string_view rawValue(FinderMenuLayout layout) {
    return layout == FinderMenuLayout::expanded ? "expanded" : "collapsed";
}

/// The layout stored under `raw`; nothing for any other string.
constexpr std::optional<FinderMenuLayout> finderMenuLayoutFromRaw(std::string_view raw) {
    if (raw == "collapsed") {
        return FinderMenuLayout::collapsed;
    }
    if (raw == "expanded") {
        return FinderMenuLayout::expanded;
    }
    return std::nullopt;
}

} // namespace quilla
