#include "app/core/executor/ActionFamilies.h"

#include "app/core/PrivateComponents.h"
#include "app/core/executor/FinderActionExecutionError.h"
#include "app/core/operations/imagepdf/OperationModules.h"
#include "shared/L10n.h"

#include <dlfcn.h>
#include <map>
#include <mutex>
#include <string>

namespace quilla {
namespace {

using imagepdf::OperationModule;
using imagepdf::PerformFunction;

struct LoadedModule {
    std::once_flag once;
    PerformFunction perform = nullptr;
    std::string problem; ///< why it could not be loaded
};

/// Loads the module once per process, on its first action; a module stays loaded.
PerformFunction loadedModule(const OperationModule& module) {
    static std::mutex mutex;
    static std::map<std::string_view, LoadedModule> modules;
    LoadedModule* loaded = nullptr;
    {
        const std::lock_guard lock(mutex);
        loaded = &modules[module.fileName];
    }
    std::call_once(loaded->once, [&] {
        const auto path = PrivateComponents::locate(module.fileName);
        if (!path) {
            loaded->problem = std::string(module.fileName);
            return;
        }
        void* handle = ::dlopen(path->c_str(), RTLD_LAZY | RTLD_LOCAL);
        void* entry = handle ? ::dlsym(handle, imagepdf::kEntryPoint) : nullptr;
        if (!entry) {
            const char* detail = ::dlerror();
            loaded->problem = detail ? detail : path->string();
            return;
        }
        loaded->perform = reinterpret_cast<PerformFunction>(entry);
    });
    if (!loaded->perform) {
        throw FinderActionExecutionError::commandFailed(
            L10n::format<"图片与 PDF 工具无法载入：%@">(loaded->problem));
    }
    return loaded->perform;
}

void registerModule(ActionTable& table, const ExecutorContext& context, const OperationModule& module) {
    for (const auto actionID : module.actionIDs) {
        table.add(std::string(actionID), [context, &module](const ActionRequest& request) {
            const auto perform = loadedModule(module);
            ActionResult result;
            std::exception_ptr failure;
            perform(request, context, result, failure);
            if (failure) {
                std::rethrow_exception(failure);
            }
            return result;
        });
    }
}

} // namespace

void registerImagePDFActions(ActionTable& table, const ExecutorContext& context) {
    registerModule(table, context, imagepdf::kImageModule);
    registerModule(table, context, imagepdf::kPDFModule);
}

} // namespace quilla
