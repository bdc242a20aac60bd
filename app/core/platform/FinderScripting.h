#pragma once

#include "app/core/lists/FinderSortMode.h"
#include "app/core/lists/FinderViewMode.h"
#include "shared/L10n.h"

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace quilla {

/// Asking the file manager about its windows and changing how it shows them. On GNOME Files the
/// selection is not published (empty) and the front folder is the Desktop; view settings go
/// through GSettings. Failures are thrown as FinderActionExecutionError with a Chinese message.
class FinderScripting {
public:
    virtual ~FinderScripting() = default;
    /// The file manager's current selection, in order (empty when unknown).
    virtual std::vector<std::filesystem::path> selection() = 0;
    /// The folder of the front window, or the Desktop when no window is open.
    virtual std::optional<std::filesystem::path> frontFolder() = 0;

    // How folders are shown. Each change fails with a Chinese message when the file manager or
    // its setting cannot be reached (on GNOME: a missing GSettings schema or key). A file manager
    // that cannot change views keeps the defaults here, which fail with unsupportedViewControl().

    /// Shows folders in `mode` (column and gallery fall back to the nearest view the file
    /// manager has).
    virtual void setViewMode(FinderViewMode) { unsupportedViewControl(); }
    /// Switches to list view and sorts by `mode`'s column; the direction is left as it is.
    virtual void setSortColumn(FinderSortMode) { unsupportedViewControl(); }
    /// A preset's view change: the view, and for icon view the arrangement, for list view the sort
    /// column and its direction, when `sortMode` has them.
    virtual void applyView(FinderViewMode /*viewMode*/, FinderSortMode /*sortMode*/) { unsupportedViewControl(); }
    /// Sorts by `mode` whatever the view (nothing for none).
    virtual void sortUsingViewOptions(FinderSortMode) { unsupportedViewControl(); }
    /// One line describing the current view and sort, for the diagnostic log; "unavailable" when
    /// it cannot be read.
    virtual std::string viewSortState() { return "unavailable"; }
    /// Whether hidden files are shown; false when that cannot be read.
    virtual bool isShowingHiddenFiles() { return false; }
    /// Shows or hides hidden files (restarting the file manager where it needs that).
    virtual void setShowingHiddenFiles(bool /*show*/) { unsupportedViewControl(); }

protected:
    [[noreturn]] static void unsupportedViewControl() {
        throw std::runtime_error(L10n::text<"当前的文件管理器不支持更改视图设置。">());
    }
};

} // namespace quilla
