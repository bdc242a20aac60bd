#include "app/core/executor/ActionFamilies.h"
#include "app/core/operations/creation/FileCreationOperations.h"

namespace quilla {

// Handlers keep their own copy of the context (a few references and a reader).
void registerFileCreationActions(ActionTable& table, const ExecutorContext& context) {
    table.add("createFolder", [context](const ActionRequest& request) {
        return ActionResult{creation::createFolder(context, request.selectedPaths, request.targetedPath)};
    });
    for (const auto fileTemplate : QuillaFileTemplate::all()) {
        table.add(std::string(fileTemplate.actionID()), [context, fileTemplate](const ActionRequest& request) {
            return ActionResult{creation::createFile(context, fileTemplate, request.selectedPaths, request.targetedPath)};
        });
    }
}

} // namespace quilla
