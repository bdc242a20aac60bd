#include "app/core/operations/developer/DeletionScheduling.h"

#include "app/core/deletion/ScheduledDeletionStore.h"
#include "app/core/executor/ExecutorHelpers.h"
#include "app/core/executor/FinderActionExecutionError.h"
#include "shared/LogText.h"

namespace quilla {
namespace fs = std::filesystem;

ActionResult DeletionScheduling::schedule(const ExecutorContext& context, const std::vector<fs::path>& selection,
                                          int days) {
    return schedule(context, selection, std::chrono::days(days), std::to_string(days) + "d");
}

ActionResult DeletionScheduling::schedule(const ExecutorContext& context, const std::vector<fs::path>& selection,
                                          std::chrono::seconds interval, const std::string& label) {
    if (selection.empty()) {
        throw FinderActionExecutionError::noSelection();
    }
    std::vector<fs::path> standardizedPaths;
    std::vector<std::string> texts;
    for (const auto& path : selection) {
        // Lexically only: a link stays the link that was selected.
        standardizedPaths.push_back(executor::standardized(path));
        texts.push_back(path.string());
    }
    ScheduledDeletionStore().schedule(standardizedPaths, interval);
    context.appendDiagnosticLog("scheduled deletion interval=" + label + " paths=" + bracketedList(texts));
    return selection;
}

} // namespace quilla
