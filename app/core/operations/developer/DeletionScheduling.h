#pragma once

#include "app/core/executor/ActionRequest.h"
#include "app/core/executor/ExecutorContext.h"

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

namespace quilla {

/// Hands the selection to the scheduled-deletion store.
class DeletionScheduling final {
public:
    /// Schedules the selection for the Trash after `days` days, logged with the label "<days>d".
    static ActionResult schedule(const ExecutorContext& context, const std::vector<std::filesystem::path>& selection,
                                 int days);

    /// Schedules the selection for the Trash `interval` from now and logs
    /// "scheduled deletion interval=<label> paths=[…]". An empty selection is noSelection; the
    /// store's error is raised. Gives the selection.
    static ActionResult schedule(const ExecutorContext& context, const std::vector<std::filesystem::path>& selection,
                                 std::chrono::seconds interval, const std::string& label);
};

} // namespace quilla
