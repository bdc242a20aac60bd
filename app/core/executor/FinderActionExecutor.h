#pragma once

#include "app/core/executor/ActionRequest.h"
#include "app/core/executor/ActionTable.h"
#include "app/core/executor/ExecutorContext.h"

namespace quilla {

/// Carries out one action ID on the selection and returns the items it produced. Prefixed IDs
/// ("finderViewPreset__", "runShortcut__", "runScript__") are tested first, then "completed",
/// then the fixed IDs (exact comparison); anything else fails with unsupportedAction before any
/// file is touched. Runs synchronously on the caller's thread; keeps no state between actions.
class FinderActionExecutor final {
public:
    explicit FinderActionExecutor(const ExecutorContext& context);

    ActionResult perform(const ActionRequest& request) const;

    const ActionTable& table() const { return table_; }

private:
    ActionTable table_;
};

} // namespace quilla
