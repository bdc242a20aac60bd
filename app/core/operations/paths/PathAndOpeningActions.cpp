#include "app/core/executor/ActionFamilies.h"
#include "app/core/operations/paths/ApplicationOpener.h"
#include "app/core/operations/paths/FinderReveal.h"
#include "app/core/operations/paths/QuickOpen.h"
#include "app/core/operations/paths/QuillaExternalApplication.h"
#include "app/core/operations/paths/QuillaPathCopyFormat.h"

namespace quilla {

// None of these actions changes a file, so every one of them returns an empty result list.
void registerPathAndOpeningActions(ActionTable& table, const ExecutorContext& context) {
    for (const auto& [format, actionID] : PathCopy::formats()) {
        table.add(std::string(actionID), [context, format](const ActionRequest& request) {
            PathCopy::copyPaths(context, request.selectedPaths, request.targetedPath, format);
            return ActionResult{};
        });
    }
    table.add("openInTerminal", [context](const ActionRequest& request) {
        ApplicationOpener(context).openInTerminal(request.selectedPaths, request.targetedPath);
        return ActionResult{};
    });
    for (const auto& application : QuillaExternalApplication::all()) {
        table.add(std::string(application.actionID), [context, &application](const ActionRequest& request) {
            ApplicationOpener(context).openInApplication(application, request.selectedPaths, request.targetedPath);
            return ActionResult{};
        });
    }
    table.add("openWithApplicationPath", [context](const ActionRequest& request) {
        ApplicationOpener(context).openWithApplicationPath(request.selectedPaths, request.targetedPath,
                                                           request.destinationPath);
        return ActionResult{};
    });
    table.add("revealInFinder", [context](const ActionRequest& request) {
        FinderReveal(context).revealInFinder(request.selectedPaths);
        return ActionResult{};
    });
    table.add("quickOpenClipboardPath", [context](const ActionRequest&) {
        QuickOpen(context).quickOpenClipboardPath();
        return ActionResult{};
    });
    table.add("quickOpenTypedPath", [context](const ActionRequest&) {
        QuickOpen(context).quickOpenTypedPath();
        return ActionResult{};
    });
    for (const auto actionID : QuickOpen::folderActionIDs()) {
        table.add(std::string(actionID), [context, actionID](const ActionRequest& request) {
            QuickOpen(context).quickOpenFolder(actionID, request.destinationPath);
            return ActionResult{};
        });
    }
}

} // namespace quilla
