#pragma once

#include "finder-extension/core/FinderMenuModel.h"

#include <string>

namespace quilla {

/// Writes a menu model the way quilla-finder prints it.
class FinderMenuPrinter final {
public:
    /// One line per item, two spaces of indentation per submenu level, "---" for a separator and
    /// " [disabled]" after the title of a disabled item.
    static std::string text(const FinderMenu& menu);

    /// An array of items: {"title", "enabled", "separator", "identifier", "tag", "actionID",
    /// "context", "submenu"}, with null for what an item lacks. Bytes that are not UTF-8 (possible
    /// in Linux paths) are shown as U+FFFD: this output is for reading, not for queuing.
    static std::string json(const FinderMenu& menu);

    /// The action kind as text, e.g. "copyPath(fullPath)" or "openFolder".
    static std::string actionText(const FinderFeatureAction& action);
};

} // namespace quilla
