#include "app/ui/QuillaApp.h"

#include "app/core/preferences/AppPreferencesPersistence.h"
#include "app/platform/qt/NoDisplayPasteboard.h"
#include "app/platform/qt/QtPasteboard.h"
#include "shared/DiagnosticLog.h"
#include "shared/QuillaPaths.h"

namespace quilla {
namespace {

std::unique_ptr<Pasteboard> makePasteboard(bool displayClipboard, QtMainThreadDispatcher& dispatcher) {
    if (displayClipboard) {
        return std::make_unique<QtPasteboard>(dispatcher);
    }
    return std::make_unique<NoDisplayPasteboard>();
}

} // namespace

void QuillaApp::appendDiagnosticLog(std::string_view message) {
    quilla::appendDiagnosticLog(paths::appActionLogPath(), message);
}

QuillaApp::QuillaApp(Services services)
    : scheduledDeletionList_(scheduledDeletionStore_,
                             [this](std::function<void()> task) { dispatcher_.post(std::move(task)); }),
      pasteboard_(makePasteboard(services.displayClipboard, dispatcher_)),
      prompts_(dispatcher_, services.dialogs), context_{*pasteboard_,
                                                        workspace_,
                                                        prompts_,
                                                        finderScripting_,
                                                        trash_,
                                                        [] { return AppPreferencesPersistence::load(); }},
      executor_(context_) {
    runner_ = std::make_unique<QuillaQueuedActionRunner>(
        [this](const ActionRequest& request) { return executor_.perform(request); },
        [this](std::function<void()> work) { dispatcher_.post(std::move(work)); });
    scheduledDeletionRunner_ = std::make_unique<ScheduledDeletionRunner>(scheduledDeletionStore_, trash_);

    appendDiagnosticLog("QuillaApp init");
    if (loginItem_.repairStaleEntry()) {
        appendDiagnosticLog("login item repaired: it now starts " + loginItem_.executable().string());
    }
    runner_->drain();
    runner_->startPolling();
    scheduledDeletionRunner_->start();
}

QuillaApp::~QuillaApp() {
    prepareForQuit();
    scheduledDeletionRunner_.reset();
    runner_.reset();
}

void QuillaApp::prepareForQuit() {
    dispatcher_.shutDown();
}

} // namespace quilla
