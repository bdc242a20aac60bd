#include "app/core/operations/paths/ApplicationOpener.h"

#include "app/core/executor/ExecutorHelpers.h"
#include "app/core/executor/FinderActionExecutionError.h"
#include "app/core/lists/TrustedApplications.h"
#include "app/core/platform/Workspace.h"
#include "shared/L10n.h"
#include "shared/LogText.h"

#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

namespace quilla {
namespace {

namespace fs = std::filesystem;

std::string pathList(const std::vector<fs::path>& items) {
    std::vector<std::string> texts;
    for (const auto& item : items) {
        texts.push_back(item.string());
    }
    return bracketedList(texts);
}

/// What the helper thread hands back; shared so that a start finishing after the time-out
/// writes into something that still exists.
struct StartOutcome {
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    bool succeeded = false;
    std::string error;
};

} // namespace

ApplicationOpener::ApplicationOpener(const ExecutorContext& context, std::chrono::milliseconds timeout)
    : context_(context), timeout_(timeout) {}

std::optional<std::string> ApplicationOpener::timedStart(const std::string& applicationText,
                                                         const std::vector<fs::path>& items,
                                                         std::function<bool(std::string*)> start) const {
    auto outcome = std::make_shared<StartOutcome>();
    // The workspace may be called from any thread; the helper lets a start that hangs (a stuck
    // D-Bus activation, say) give up after the time-out instead of blocking the runner.
    std::thread([outcome, start = std::move(start)] {
        std::string error;
        const bool succeeded = start(&error);
        {
            std::lock_guard lock(outcome->mutex);
            outcome->done = true;
            outcome->succeeded = succeeded;
            outcome->error = std::move(error);
        }
        outcome->finished.notify_all();
    }).detach();

    std::unique_lock lock(outcome->mutex);
    const std::string subject = " app=" + applicationText + " urls=" + pathList(items);
    if (!outcome->finished.wait_for(lock, timeout_, [&] { return outcome->done; })) {
        context_.appendDiagnosticLog("open application timed out" + subject);
        throw FinderActionExecutionError::commandFailed(L10n::text<"打开应用超时。">());
    }
    if (!outcome->succeeded) {
        context_.appendDiagnosticLog("open application failed" + subject + " error=" + outcome->error);
        return outcome->error;
    }
    context_.appendDiagnosticLog("open application succeeded" + subject);
    return std::nullopt;
}

void ApplicationOpener::openURLs(const std::vector<fs::path>& items, const fs::path& application) const {
    Workspace& workspace = context_.workspace;
    auto error = timedStart(application.string(), items, [&workspace, items, application](std::string* message) {
        return workspace.openWithApplication(application, items, message);
    });
    if (error) {
        throw FinderActionExecutionError::commandFailed(*error);
    }
}

void ApplicationOpener::openInTerminal(const std::vector<fs::path>& selected,
                                       const std::optional<fs::path>& targeted) const {
    const fs::path folder = executor::targetDirectory(selected, targeted);
    Workspace& workspace = context_.workspace;
    auto error = timedStart("Terminal", {folder}, [&workspace, folder](std::string* message) {
        return workspace.openTerminal(folder, message);
    });
    if (error) {
        throw FinderActionExecutionError::applicationNotFound("Terminal");
    }
}

void ApplicationOpener::openInApplication(const QuillaExternalApplication& application,
                                          const std::vector<fs::path>& selected,
                                          const std::optional<fs::path>& targeted) const {
    const fs::path folder = executor::targetDirectory(selected, targeted);
    const auto installed = application.installedURL();
    if (!installed) {
        throw FinderActionExecutionError::applicationNotFound(std::string(application.name));
    }
    openURLs({folder}, *installed);
}

void ApplicationOpener::openWithApplicationPath(const std::vector<fs::path>& selected,
                                                const std::optional<fs::path>& targeted,
                                                const std::optional<fs::path>& application) const {
    if (!application) {
        throw FinderActionExecutionError::applicationNotFound(L10n::text<"指定应用">());
    }
    if (!TrustedApplications::mayOpen(*application)) {
        throw FinderActionExecutionError::applicationNotFound(application->filename().string());
    }
    const auto items = executor::effectiveURLs(selected, targeted);
    if (items.empty()) {
        throw FinderActionExecutionError::noSelection();
    }
    context_.appendDiagnosticLog("open with application app=" + application->string() + " urls=" + pathList(items));
    openURLs(items, *application);
}

} // namespace quilla
