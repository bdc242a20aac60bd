#include "app/core/executor/FinderActionExecutor.h"

#include "app/core/executor/ActionFamilies.h"

namespace quilla {

FinderActionExecutor::FinderActionExecutor(const ExecutorContext& context) {
    // Prefix rules are matched in the order they are added: view presets, shortcuts, scripts.
    registerFinderViewActions(table_, context);
    registerDeveloperActions(table_, context);
    registerFileCreationActions(table_, context);
    registerPathAndOpeningActions(table_, context);
    registerCopyMoveActions(table_, context);
    registerRenameArchiveActions(table_, context);
    registerImagePDFActions(table_, context);
}

ActionResult FinderActionExecutor::perform(const ActionRequest& request) const { return table_.perform(request); }

} // namespace quilla
