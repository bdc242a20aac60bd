#pragma once

#include "app/core/executor/ActionRequest.h"
#include "app/core/executor/ExecutorContext.h"

#include <string>

namespace quilla {

/// Runs the user's own context-menu entries (CustomShortcutActions.plist) on the selection, or on
/// the targeted folder when nothing is selected.
class CustomActionRunner final {
public:
    /// Runs the executable "NAME" in the shortcuts folder with the input paths as arguments.
    /// An unknown id fails with unsupportedAction("runShortcut__" + id); nothing to run on with
    /// noSelection; a missing shortcut file with sourceItemMissing; a failing one with its message.
    static void runShortcut(const ExecutorContext& context, const std::string& id, const ActionRequest& request);

    /// Runs the script action's file (see scriptInvocation) with the input paths and logs
    /// "run script path=… input=[…]". An unknown id or an entry that is not a script fails with
    /// unsupportedAction("runScript__" + id); a missing file with sourceItemMissing.
    static void runScript(const ExecutorContext& context, const std::string& id, const ActionRequest& request);
};

} // namespace quilla
