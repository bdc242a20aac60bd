#pragma once

#include "app/core/lists/FinderSortMode.h"
#include "app/core/lists/FinderViewMode.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quilla {

/// The scripts a macOS FinderScripting runs to drive Finder, kept as text so that both builds share
/// them and they can be checked without Finder.
class FinderViewAppleScripts final {
public:
    /// "icon view", "list view", "column view" or "flow view".
    static std::string_view viewName(FinderViewMode mode);

    /// Sets the front window's view (opening a window on the desktop when none is open).
    static std::string setViewMode(std::string_view scriptViewName);
    /// Switches the front window to list view and sorts by `scriptColumnName` ("name column", …).
    static std::string setSortColumn(std::string_view scriptColumnName);
    /// A preset's view change with its icon arrangement or list sort column and direction.
    static std::string applyView(FinderViewMode viewMode, FinderSortMode sortMode);
    /// Clicks the sort item in Finder's View menu through System Events, trying the menu texts of
    /// several languages; nothing for a mode without titles (none). Run with a 3-second time-out.
    static std::optional<std::string> sortUsingViewOptions(FinderSortMode mode);
    /// Reads "VIEW | list=COLUMN/DIRECTION | icon=ARRANGEMENT", or "no-window".
    static std::string viewSortState();

    /// Finder's menu titles for a sort mode, in the order tried.
    static const std::vector<std::string>& sortNames(FinderSortMode mode);
    /// {"a", "b \"c\""}: quoted items (double quotes escaped, backslashes not), comma-separated.
    static std::string list(const std::vector<std::string>& items);

    /// Whether the output of `defaults read com.apple.finder AppleShowAllFiles` means "shown".
    static bool showsHiddenFiles(std::string_view defaultsOutput);
};

} // namespace quilla
