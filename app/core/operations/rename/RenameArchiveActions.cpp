#include "app/core/executor/ActionFamilies.h"
#include "app/core/operations/rename/ArchiveOperations.h"
#include "app/core/operations/rename/BatchRename.h"

#include <utility>

namespace quilla {

// Handlers keep their own copy of the context (a few references and a reader).
void registerRenameArchiveActions(ActionTable& table, const ExecutorContext& context) {
    using rename::RenameMode;
    const std::pair<const char*, RenameMode> renames[] = {
        {"renameAddPrefix", RenameMode::addPrefix},   {"renameAddSuffix", RenameMode::addSuffix},
        {"renameFindReplace", RenameMode::findReplace}, {"renameSequential", RenameMode::sequential},
        {"renameLowercase", RenameMode::lowercase},   {"renameUppercase", RenameMode::uppercase},
    };
    for (const auto& [id, mode] : renames) {
        table.add(id, [context, mode = mode](const ActionRequest& request) {
            return rename::renameFiles(context, request.selectedPaths, mode);
        });
    }
    table.add("compressToZIP", [context](const ActionRequest& request) {
        return ActionResult{archives::compressToZIP(context, request.selectedPaths, request.targetedPath)};
    });
    table.add("extractZIPHere", [context](const ActionRequest& request) {
        return archives::extractZIPs(context, request.selectedPaths, archives::ArchiveExtractionMode::here);
    });
    table.add("extractZIPToFolder", [context](const ActionRequest& request) {
        return archives::extractZIPs(context, request.selectedPaths, archives::ArchiveExtractionMode::toFolder);
    });
}

} // namespace quilla
