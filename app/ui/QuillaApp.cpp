#include "app/ui/QuillaApp.h"

#include "app/core/preferences/AppPreferencesPersistence.h"
#include "app/core/runner/LeftoverFiles.h"
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
    : pasteboard_(makePasteboard(services.displayClipboard, dispatcher_)),
      prompts_(dispatcher_, services.dialogs), context_{*pasteboard_,
                                                        workspace_,
                                                        prompts_,
                                                        finderScripting_,
                                                        trash_,
                                                        [] { return AppPreferencesPersistence::load(); }},
      executor_(context_), desktopNotifier_(&QuillaApp::appendDiagnosticLog),
      failureNotifier_(std::make_shared<ActionFailureNotifier>(
          desktopNotifier_, [this] { return preferences_.notifyOnActionFailure(); })),
      runner_(startDraining()),
      scheduledDeletionList_(scheduledDeletionStore_,
                             [this](std::function<void()> task) { dispatcher_.post(std::move(task)); }),
      consentPrompt_(services.dialogs), menuBarActions_(performer(), finderScripting_) {
    selectionModel_ = std::make_unique<FinderSelectionModel>(FinderSelectionModel::Dependencies{
        .perform = performer(),
        .finderScripting = finderScripting_,
        .consent = consentPrompt_,
        .presentFeatureRequest =
            [this] {
                if (presentFeatureRequest_) {
                    presentFeatureRequest_();
                } else {
                    appendDiagnosticLog("feature request form not available in this start");
                }
            },
        .log = &QuillaApp::appendDiagnosticLog,
        .actionFailed = failureReporter(),
    });
    scheduledDeletionRunner_ = std::make_unique<ScheduledDeletionRunner>(scheduledDeletionStore_, trash_);
    if (loginItem_.repairStaleEntry()) {
        appendDiagnosticLog("login item repaired: it now starts " + loginItem_.executable().string());
    }
    runner_->startPolling();
    scheduledDeletionRunner_->start();
}

std::unique_ptr<QuillaQueuedActionRunner> QuillaApp::startDraining() {
    auto runner = std::make_unique<QuillaQueuedActionRunner>(
        performer(), [this](std::function<void()> work) { dispatcher_.post(std::move(work)); });
    runner->setFailureObserver(failureReporter());
    appendDiagnosticLog("QuillaApp init");
    // Only one application runs at a time: whatever a killed earlier run left half-done is cleared
    // before new work starts, and before the stores (created after the runner) save anything.
    LeftoverFiles::clearSettingsTemporaries();
    runner->recoverInterruptedActions();
    runner->drain();
    return runner;
}

std::function<ActionResult(const ActionRequest&)> QuillaApp::performer() const {
    return [this](const ActionRequest& request) { return executor_.perform(request); };
}

std::function<void(const std::string&)> QuillaApp::failureReporter() const {
    return [notifier = std::weak_ptr(failureNotifier_)](const std::string& text) {
        if (auto alive = notifier.lock()) {
            alive->actionFailed(text);
        }
    };
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
