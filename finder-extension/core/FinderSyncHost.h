#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quilla {

/// What the file manager tells the extension about the current window, and where the
/// extension asks to be shown. Implemented by each host (the Nautilus module, quilla-finder).
class FinderSyncHost {
public:
    virtual ~FinderSyncHost() = default;

    /// Paths of the selected items, in selection order; empty when nothing is selected.
    virtual std::vector<std::string> selectedItemPaths() const = 0;
    /// The folder the menu was requested for, if any.
    virtual std::optional<std::string> targetedPath() const = 0;
    /// The folders the extension wants menus for (hosts without the concept just remember them).
    virtual void setDirectoryPaths(const std::vector<std::string>& paths) = 0;
};

} // namespace quilla
