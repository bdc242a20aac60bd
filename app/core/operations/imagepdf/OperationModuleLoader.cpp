#include "app/core/executor/ActionFamilies.h"

#include "app/core/PrivateComponents.h"
#include "app/core/executor/FinderActionExecutionError.h"
#include "app/core/operations/imagepdf/OperationModules.h"
#include "shared/L10n.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <unistd.h>

namespace quilla {
namespace {

using imagepdf::OperationModule;
using imagepdf::PerformFunction;

// A module is loaded on the first of its actions, which in the application can come days after
// its start; an upgrade may have replaced the files meanwhile, and this program must never load a
// module of another build. So each module's file is opened when the executor is first built and
// loaded from that open file later (the file's old contents stay readable after a replacement).
struct LoadedModule {
    int file = -1; ///< the module as installed when this program started; -1 once loaded
    PerformFunction perform = nullptr;
};

std::mutex& moduleMutex() {
    static std::mutex mutex;
    return mutex;
}

/// Under moduleMutex().
LoadedModule& moduleState(const OperationModule& module) {
    static std::map<std::string_view, LoadedModule> modules;
    return modules[module.fileName];
}

void keepModuleFile(const OperationModule& module) {
    const std::lock_guard lock(moduleMutex());
    auto& loaded = moduleState(module);
    if (loaded.perform || loaded.file >= 0) {
        return;
    }
    if (const auto path = PrivateComponents::locate(module.fileName)) {
        loaded.file = ::open(path->c_str(), O_RDONLY | O_CLOEXEC);
    }
}

/// The module's entry point, loaded once per process; a module stays loaded. A failure is not
/// kept: the next action tries again.
PerformFunction loadedModule(const OperationModule& module) {
    const std::lock_guard lock(moduleMutex());
    auto& loaded = moduleState(module);
    if (loaded.perform) {
        return loaded.perform;
    }
    std::string problem(module.fileName);
    const auto located = loaded.file >= 0 ? std::optional<std::filesystem::path>()
                                          : PrivateComponents::locate(module.fileName);
    if (loaded.file >= 0 || located) {
        const std::string path =
            loaded.file >= 0 ? "/proc/self/fd/" + std::to_string(loaded.file) : located->string();
        void* handle = ::dlopen(path.c_str(), RTLD_LAZY | RTLD_LOCAL);
        void* entry = handle ? ::dlsym(handle, imagepdf::kEntryPoint) : nullptr;
        if (entry) {
            loaded.perform = reinterpret_cast<PerformFunction>(entry);
            if (loaded.file >= 0) {
                ::close(loaded.file);
                loaded.file = -1;
            }
            return loaded.perform;
        }
        const char* detail = ::dlerror();
        problem = detail ? std::string(module.fileName) + ": " + detail : std::string(module.fileName);
    }
    throw FinderActionExecutionError::commandFailed(L10n::format<"图片与 PDF 工具无法载入：%@">(problem));
}

void registerModule(ActionTable& table, const ExecutorContext& context, const OperationModule& module) {
    keepModuleFile(module);
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
