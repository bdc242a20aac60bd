#pragma once

#include "finder-extension/core/FinderActionContext.h"
#include "finder-extension/core/FinderDiagnosticLog.h"
#include "finder-extension/core/FinderMenuModel.h"
#include "finder-extension/core/FinderSyncHost.h"
#include "finder-extension/core/QuillaActionQueuedNotifier.h"
#include "finder-extension/core/QuillaAppLauncher.h"

#include <filesystem>
#include <optional>
#include <string>

namespace quilla {

class FinderSettingsFileCache;
class FinderSettingsSnapshot;

/// Turns a chosen menu item into a queued action: works out the action (from the item's context,
/// its dictionary, or else its identifier, tag or title), takes the host's live selection and
/// target, writes the queue file, announces it and starts the application when it is not running.
/// Nothing is ever shown to the user; every step is written to the diagnostic log.
class FinderMenuActionHandler final {
public:
    FinderMenuActionHandler(FinderSyncHost& host, const FinderDiagnosticLog& log, QuillaActionQueuedNotifier& notifier,
                            QuillaAppLauncher& launcher, FinderSettingsFileCache& cache);

    /// Handles the chosen item; gives the queue file written, if any. Never throws.
    std::optional<std::filesystem::path> performFeatureChild(const FinderMenuItem& item) noexcept;

    /// The context the item stands for, if any.
    std::optional<FinderActionContext> actionContext(const FinderMenuItem& item);
    /// By identifier: an open-with application, a custom action or a view preset.
    std::optional<FinderActionContext> actionContextFromMenuIdentifier(const std::optional<std::string>& identifier);
    /// By tag: 700000 plus a view preset's position.
    std::optional<FinderActionContext> actionContextFromMenuTag(long tag);
    /// By title: a custom action, an open-with application, a view preset or a catalog child.
    std::optional<FinderActionContext> actionContextFromMenuTitle(const std::string& title);
    /// The custom action a "runShortcut__…" or "runScript__…" ID names.
    std::optional<FinderActionContext> customActionContext(const std::string& actionID);

    /// The action kind of an action ID: open-with for "openWithApplicationPath", else the catalog child's.
    static std::optional<FinderFeatureAction> actionForID(const std::string& actionID);

    /// Starts the application unless it already runs.
    void openContainingApp();

private:
    std::optional<FinderActionContext> contextFromItem(const FinderMenuItem& item, FinderSettingsSnapshot& settings);
    std::optional<FinderActionContext> fromIdentifier(const std::optional<std::string>& identifier,
                                                      FinderSettingsSnapshot& settings);
    std::optional<FinderActionContext> fromTag(long tag, FinderSettingsSnapshot& settings);
    std::optional<FinderActionContext> fromTitle(const std::string& title, FinderSettingsSnapshot& settings);
    std::optional<FinderActionContext> fromCustomActionID(const std::string& actionID, FinderSettingsSnapshot& settings);
    std::optional<std::filesystem::path> perform(const FinderMenuItem& item);

    FinderSyncHost& host_;
    const FinderDiagnosticLog& log_;
    QuillaActionQueuedNotifier& notifier_;
    QuillaAppLauncher& launcher_;
    FinderSettingsFileCache& cache_;
};

} // namespace quilla
