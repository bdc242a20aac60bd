#include "app/core/operations/developer/CustomActionRunner.h"

#include "app/core/executor/CommandRunner.h"
#include "app/core/executor/ExecutorHelpers.h"
#include "app/core/executor/FinderActionExecutionError.h"
#include "app/core/lists/CustomShortcutActionPersistence.h"
#include "app/core/operations/developer/ScriptInvocation.h"
#include "shared/LogText.h"
#include "shared/QuillaPaths.h"

#include <unistd.h>

namespace quilla {
namespace fs = std::filesystem;
namespace {

std::vector<fs::path> inputsOf(const ActionRequest& request) {
    auto inputs = executor::effectiveURLs(request.selectedPaths, request.targetedPath);
    if (inputs.empty()) {
        throw FinderActionExecutionError::noSelection();
    }
    return inputs;
}

std::vector<std::string> texts(const std::vector<fs::path>& paths) {
    std::vector<std::string> out;
    for (const auto& path : paths) {
        out.push_back(path.string());
    }
    return out;
}

// A shortcut is an executable file named like it, directly inside the shortcuts folder: a name
// that would lead elsewhere ("..", "a/b") names no shortcut.
fs::path shortcutFile(const std::string& name) {
    const auto file = paths::shortcutsDir() / name;
    std::error_code ec;
    const bool plainName = !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos;
    if (!plainName || !fs::is_regular_file(file, ec) || ::access(file.c_str(), X_OK) != 0) {
        throw FinderActionExecutionError::sourceItemMissing(file.string());
    }
    return file;
}

} // namespace

void CustomActionRunner::runShortcut(const ExecutorContext&, const std::string& id, const ActionRequest& request) {
    const auto action = CustomShortcutActionPersistence::action(id);
    if (!action) {
        throw FinderActionExecutionError::unsupportedAction("runShortcut__" + id);
    }
    const auto inputs = inputsOf(request);
    CommandRunner::runProcess(shortcutFile(action->shortcutName), texts(inputs));
}

void CustomActionRunner::runScript(const ExecutorContext& context, const std::string& id, const ActionRequest& request) {
    const auto action = CustomShortcutActionPersistence::action(id);
    if (!action || action->kind != CustomShortcutAction::Kind::script) {
        throw FinderActionExecutionError::unsupportedAction("runScript__" + id);
    }
    const auto inputs = inputsOf(request);
    const fs::path script = action->scriptPath;
    std::error_code ec;
    if (!fs::exists(script, ec)) {
        throw FinderActionExecutionError::sourceItemMissing(action->scriptPath);
    }
    context.appendDiagnosticLog("run script path=" + action->scriptPath + " input=" + bracketedList(texts(inputs)));
    const auto invocation = scriptInvocation(script, inputs);
    CommandRunner::runProcess(invocation.program, invocation.arguments);
}

} // namespace quilla
