#pragma once

#include "app/core/executor/ActionRequest.h"
#include "app/core/executor/ExecutorContext.h"
#include "app/core/lists/FinderSortMode.h"
#include "app/core/lists/FinderViewMode.h"

#include <optional>
#include <string>

namespace quilla {

/// The file manager's view, sort order, view presets and hidden files, through FinderScripting.
/// None of these actions produces items.
class FinderViewControl final {
public:
    static void setViewMode(const ExecutorContext& context, FinderViewMode mode);
    static void setSortColumn(const ExecutorContext& context, FinderSortMode mode);

    /// Applies the saved preset with this id (read afresh from FinderViewPresets.plist); no id or
    /// no such preset fails with unsupportedAction("finderViewPreset").
    static void applyPreset(const ExecutorContext& context, const std::optional<std::string>& presetID);

    /// The preset id of a "finderViewPreset" request: `presetID`, else the last path component of
    /// the destination, else nothing.
    static std::optional<std::string> presetID(const ActionRequest& request);

    /// Sets the view (a failure is raised), then, unless the sort is none, sorts through the view
    /// options and only logs "finder sort view options succeeded|failed mode=…"; finally logs
    /// "finder view preset applied view=… sort=… state=…".
    static void applyView(const ExecutorContext& context, FinderViewMode viewMode, FinderSortMode sortMode);

    static bool isShowingHiddenFiles(const ExecutorContext& context);
    /// Flips whether hidden files are shown; a failure to write is raised.
    static void toggleHiddenFiles(const ExecutorContext& context);
};

} // namespace quilla
