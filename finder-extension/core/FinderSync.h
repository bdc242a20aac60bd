#pragma once

#include "finder-extension/core/FinderDiagnosticLog.h"
#include "finder-extension/core/FinderMenuActionHandler.h"
#include "finder-extension/core/FinderMenuModel.h"
#include "finder-extension/core/FinderSettingsFileCache.h"
#include "finder-extension/core/FinderSyncHost.h"
#include "finder-extension/core/FinderSystemLog.h"
#include "finder-extension/core/QuillaActionQueuedNotifier.h"
#include "finder-extension/core/QuillaAppLauncher.h"

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quilla {

/// The kinds of menu a file manager asks for. Only logged: every kind gets the same menu.
enum class FinderMenuKind : unsigned long {
    contextualMenuForItems = 0,
    contextualMenuForContainer = 1,
    contextualMenuForSidebar = 2,
    toolbarItemMenu = 3,
};

/// The extension's principal object, one per host process. The host asks it for a menu whenever
/// the user right-clicks, and hands it the item the user chose. Menus are built from the settings
/// files on every request (their parses are reused only while the files are unchanged).
///
/// The host's selection and target are read from `host` at each request. Nothing here throws
/// into the host: failures are logged and give an empty menu or no queued action.
class FinderSync final {
public:
    static constexpr std::string_view settingsChangedNotificationName = "app.kelvarin.Quilla.SettingsChanged";
    static constexpr std::string_view toolbarItemName = "Quilla";
    static constexpr std::string_view toolbarItemToolTip = "Send selected files to Quilla";

    /// The platform services the extension uses; all must outlive this object.
    struct Services {
        FinderSystemLog& systemLog;
        QuillaActionQueuedNotifier& notifier;
        QuillaAppLauncher& launcher;
    };

    /// Sets the watched folders on the host (reason "started").
    FinderSync(FinderSyncHost& host, Services services);

    /// The menu for the host's current selection and target.
    FinderMenu menu(FinderMenuKind kind) noexcept;

    /// Queues the action of the chosen item; gives the queue file written, if any.
    std::optional<std::filesystem::path> performFeatureChild(const FinderMenuItem& item) noexcept;

    /// To be called for every "app.kelvarin.Quilla.SettingsChanged" notification: logs the reason
    /// (the user info's "reason", else a non-empty object, else "unknown") and refreshes the
    /// watched folders.
    void handleSettingsChanged(const std::map<std::string, std::string>& userInfo,
                               const std::optional<std::string>& object) noexcept;

    /// Computes the watched folders and hands them to the host.
    void refreshMonitoredDirectories(std::string_view reason) noexcept;

    /// The watched folders, computed now, sorted.
    static std::vector<std::string> monitoredDirectoryPaths();

    /// The handler that performs chosen items (for context look-ups).
    FinderMenuActionHandler& actionHandler() { return handler_; }
    const FinderDiagnosticLog& diagnosticLog() const { return log_; }

private:
    FinderMenu buildMenu(FinderMenuKind kind);

    FinderSyncHost& host_;
    Services services_;
    FinderDiagnosticLog log_;
    FinderSettingsFileCache cache_;
    FinderMenuActionHandler handler_;
};

} // namespace quilla
