#pragma once

#include "app/core/FeatureSettingsPersistence.h"
#include "app/core/FeatureSettingsStore.h"
#include "app/core/deletion/ScheduledDeletionListStore.h"
#include "app/core/deletion/ScheduledDeletionRunner.h"
#include "app/core/deletion/ScheduledDeletionStore.h"
#include "app/core/executor/ExecutorContext.h"
#include "app/core/executor/FinderActionExecutor.h"
#include "app/core/lists/CustomDestinationPersistence.h"
#include "app/core/lists/CustomDestinationStore.h"
#include "app/core/lists/CustomShortcutActionPersistence.h"
#include "app/core/lists/CustomShortcutActionStore.h"
#include "app/core/lists/FinderViewPresetPersistence.h"
#include "app/core/lists/FinderViewPresetStore.h"
#include "app/core/menubar/MenuBarActions.h"
#include "app/core/notifications/ActionFailureNotifier.h"
#include "app/core/platform/FreedesktopTrash.h"
#include "app/core/preferences/AppPreferencesStore.h"
#include "app/core/preferences/LaunchAtLoginController.h"
#include "app/core/runner/QuillaQueuedActionRunner.h"
#include "app/core/url/FinderSelectionModel.h"
#include "app/platform/linux/GSettingsFinderScripting.h"
#include "app/platform/qt/FreedesktopNotifier.h"
#include "app/platform/qt/LinuxWorkspace.h"
#include "app/platform/qt/QtActionConsentPrompt.h"
#include "app/platform/qt/QtListPrompts.h"
#include "app/platform/qt/QtMainThreadDispatcher.h"
#include "app/platform/qt/QtPrompts.h"
#include "shared/dbus/DBusSettingsChangeNotifier.h"

#include <functional>
#include <memory>
#include <string_view>

namespace quilla {

/// The running application's long-lived parts: every store (created, repaired and saved at once),
/// the platform services, the executor and the two background workers. Creating it logs
/// "QuillaApp init", drains the action queue once (the drain runs while the stores are created),
/// starts the one-second poll and the scheduled-deletion timer. Destroying it stops both workers
/// after the action in progress. Lives on the main thread.
class QuillaApp final {
public:
    struct Services {
        bool displayClipboard = false; ///< a QGuiApplication with a display is running
        bool dialogs = false;          ///< the start wants dialogs (they still need a QApplication)
    };

    explicit QuillaApp(Services services);
    ~QuillaApp();
    QuillaApp(const QuillaApp&) = delete;
    QuillaApp& operator=(const QuillaApp&) = delete;

    /// Appends one line to the application's diagnostic log.
    static void appendDiagnosticLog(std::string_view message);

    QuillaQueuedActionRunner& runner() { return *runner_; }
    QtMainThreadDispatcher& dispatcher() { return dispatcher_; }
    LaunchAtLoginController& loginItem() { return loginItem_; }
    FeatureSettingsStore& featureSettings() { return featureSettings_; }
    CustomDestinationStore& destinations() { return destinations_; }
    CustomShortcutActionStore& shortcutActions() { return shortcutActions_; }
    FinderViewPresetStore& viewPresets() { return viewPresets_; }
    AppPreferencesStore& preferences() { return preferences_; }
    ScheduledDeletionListStore& scheduledDeletions() { return scheduledDeletionList_; }
    /// The choosers behind the settings window's add buttons.
    QtListPrompts& listPrompts() { return listPrompts_; }
    /// The route of quilla:// URLs.
    FinderSelectionModel& selectionModel() { return *selectionModel_; }
    /// The executor calls of the tray menu.
    MenuBarActions& menuBarActions() { return menuBarActions_; }
    /// Where the tray menu's stores announce their saves.
    QuillaSettingsChangeNotifier& settingsChangeNotifier() { return notifier_; }
    /// What a "quilla://feature-request" URL opens (the settings window's request form).
    void setFeatureRequestPresenter(std::function<void()> present) {
        presentFeatureRequest_ = std::move(present);
    }

    /// Makes every hop to the main thread give up, so that quitting never waits for a dialog the
    /// main loop will no longer show. Call once the main loop has ended, before destruction.
    void prepareForQuit();

private:
    /// The executor as the three routes into it call it.
    std::function<ActionResult(const ActionRequest&)> performer() const;
    /// Hands a failure's text to the notifier while it lives (safe from late main-thread closures).
    std::function<void(const std::string&)> failureReporter() const;

    /// Creates the runner and starts its first drain (after the "QuillaApp init" line).
    std::unique_ptr<QuillaQueuedActionRunner> startDraining();

    // Declaration order is construction order. What draining needs comes first and the runner
    // starts draining before the stores are created: reading, repairing and saving them (a dozen
    // synced writes) would otherwise hold back the action whose click started the application.
    QtMainThreadDispatcher dispatcher_;
    std::unique_ptr<Pasteboard> pasteboard_;
    LinuxWorkspace workspace_;
    QtPrompts prompts_;
    QtListPrompts listPrompts_{[this](const std::filesystem::path& folder) { workspace_.open(folder); }};
    GSettingsFinderScripting finderScripting_;
    FreedesktopTrash trash_;
    ExecutorContext context_;
    FinderActionExecutor executor_;

    FreedesktopNotifier desktopNotifier_;
    // Shared with the failure observer handed to the runner, whose closures may still be queued
    // on the main thread after this object is gone. It reads the preference store only from those
    // closures, which run on the main thread once this object is complete.
    std::shared_ptr<ActionFailureNotifier> failureNotifier_;
    std::unique_ptr<QuillaQueuedActionRunner> runner_;

    DBusSettingsChangeNotifier notifier_;
    FeatureSettingsPersistence featurePersistence_{notifier_};
    FeatureSettingsStore featureSettings_{featurePersistence_};
    CustomDestinationPersistence destinationPersistence_{notifier_};
    CustomDestinationStore destinations_{destinationPersistence_};
    CustomShortcutActionPersistence shortcutPersistence_{notifier_};
    CustomShortcutActionStore shortcutActions_{shortcutPersistence_};
    FinderViewPresetPersistence presetPersistence_{notifier_};
    FinderViewPresetStore viewPresets_{presetPersistence_};
    LaunchAtLoginController loginItem_;
    AppPreferencesStore preferences_{loginItem_};
    ScheduledDeletionStore scheduledDeletionStore_;
    ScheduledDeletionListStore scheduledDeletionList_;

    QtActionConsentPrompt consentPrompt_;
    std::function<void()> presentFeatureRequest_;
    std::unique_ptr<FinderSelectionModel> selectionModel_;
    MenuBarActions menuBarActions_;
    std::unique_ptr<ScheduledDeletionRunner> scheduledDeletionRunner_;
};

} // namespace quilla
