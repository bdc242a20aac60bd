#include "app/core/executor/ActionFamilies.h"
#include "app/core/executor/ExecutorHelpers.h"
#include "app/core/operations/copymove/CopyMoveOperations.h"

// Handlers keep their own copy of the context (a few references and a reader), so the table never
// depends on how long the caller keeps its context object.
namespace quilla {
namespace {

using executor::StandardDirectory;

void addToStandardDirectory(ActionTable& table, const ExecutorContext& context, const std::string& id,
                            StandardDirectory which, bool move) {
    table.add(id, [context, which, move](const ActionRequest& request) {
        const auto folder = executor::standardDirectory(which);
        return move ? copymove::moveFiles(context, request.selectedPaths, folder)
                    : copymove::copyFiles(context, request.selectedPaths, folder);
    });
}

} // namespace

void registerCopyMoveActions(ActionTable& table, const ExecutorContext& context) {
    const auto copyToFolder = [context](const ActionRequest& request) {
        return request.destinationPath ? copymove::copyFiles(context, request.selectedPaths, *request.destinationPath)
                                       : copymove::copyFilesToChosenDirectory(context, request.selectedPaths);
    };
    const auto moveToFolder = [context](const ActionRequest& request) {
        return request.destinationPath ? copymove::moveFiles(context, request.selectedPaths, *request.destinationPath)
                                       : copymove::moveFilesToChosenDirectory(context, request.selectedPaths);
    };
    table.add("copyFilesToFolder", copyToFolder);
    table.add("copyFilesToPath", copyToFolder);
    table.add("moveFilesToFolder", moveToFolder);
    table.add("moveFilesToPath", moveToFolder);
    addToStandardDirectory(table, context, "copyFilesToDesktop", StandardDirectory::desktop, false);
    addToStandardDirectory(table, context, "copyFilesToDownloads", StandardDirectory::downloads, false);
    addToStandardDirectory(table, context, "copyFilesToDocuments", StandardDirectory::documents, false);
    addToStandardDirectory(table, context, "moveFilesToDesktop", StandardDirectory::desktop, true);
    addToStandardDirectory(table, context, "moveFilesToDownloads", StandardDirectory::downloads, true);
    addToStandardDirectory(table, context, "moveFilesToDocuments", StandardDirectory::documents, true);
    table.add("copyBesideOriginal", [context](const ActionRequest& request) {
        return copymove::copyFilesBesideOriginal(context, request.selectedPaths);
    });
    table.add("moveSelectionToNewFolder", [context](const ActionRequest& request) {
        return ActionResult{copymove::moveSelectionToNewFolder(context, request.selectedPaths)};
    });
}

} // namespace quilla
