// The entry point of an operation module, the only symbol it exports. Built once per module, with
// QUILLA_MODULE_OPERATIONS naming the registrar of its tools.
#include "app/core/operations/imagepdf/OperationModules.h"

#include <type_traits>

using namespace quilla;

extern "C" __attribute__((visibility("default"))) void quilla_module_perform(const ActionRequest& request,
                                                                             const ExecutorContext& context,
                                                                             ActionResult& result,
                                                                             std::exception_ptr& failure) {
    static_assert(std::is_same_v<decltype(&quilla_module_perform), imagepdf::PerformFunction>);
    try {
        ActionTable table;
        imagepdf::QUILLA_MODULE_OPERATIONS(table, context);
        result = table.perform(request);
    } catch (...) {
        failure = std::current_exception();
    }
}
