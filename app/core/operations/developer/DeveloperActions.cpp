#include "app/core/executor/ActionFamilies.h"
#include "app/core/operations/developer/CustomActionRunner.h"
#include "app/core/operations/developer/DeletionScheduling.h"
#include "app/core/operations/developer/FileChecksums.h"
#include "app/core/operations/developer/FileSizes.h"

namespace quilla {

void registerDeveloperActions(ActionTable& table, const ExecutorContext& context) {
    table.addPrefix("runShortcut__", [context](const ActionRequest& request, const std::string& id) {
        CustomActionRunner::runShortcut(context, id, request);
        return ActionResult{};
    });
    table.addPrefix("runScript__", [context](const ActionRequest& request, const std::string& id) {
        CustomActionRunner::runScript(context, id, request);
        return ActionResult{};
    });

    for (const auto& [id, algorithm] : {std::pair{"copySHA256", ChecksumAlgorithm::sha256},
                                        std::pair{"copyMD5", ChecksumAlgorithm::md5}}) {
        table.add(id, [context, algorithm](const ActionRequest& request) {
            FileChecksums::copy(context, request.selectedPaths, algorithm);
            return ActionResult{};
        });
    }
    table.add("copyFileSize", [context](const ActionRequest& request) {
        FileSizes::copy(context, request.selectedPaths);
        return ActionResult{};
    });

    table.add("scheduleDelete1Hour", [context](const ActionRequest& request) {
        return DeletionScheduling::schedule(context, request.selectedPaths, std::chrono::hours(1), "1h");
    });
    for (const auto& [id, days] : {std::pair{"scheduleDelete7Days", 7}, std::pair{"scheduleDelete30Days", 30},
                                   std::pair{"scheduleDelete90Days", 90}}) {
        table.add(id, [context, days](const ActionRequest& request) {
            return DeletionScheduling::schedule(context, request.selectedPaths, days);
        });
    }
}

} // namespace quilla
