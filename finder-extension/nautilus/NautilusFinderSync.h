#pragma once

#include "finder-extension/core/FinderSelectionHost.h"
#include "finder-extension/core/FinderSync.h"
#include "finder-extension/dbus/DBusActionQueuedNotifier.h"
#include "finder-extension/dbus/DBusQuillaAppLauncher.h"
#include "finder-extension/dbus/DBusSettingsChangedObserver.h"
#include "finder-extension/nautilus/NautilusExtension.h"
#include "finder-extension/nautilus/NautilusSystemLog.h"

#include <memory>

namespace quilla {

/// The extension as GNOME Files runs it: the menu builder and click handler on a host fed with
/// each request's selection, the journal as system log, and the session bus for the ActionQueued
/// signal, starting the application and following settings changes.
class NautilusFinderSync final {
public:
    NautilusFinderSync();
    /// Stops the application start still pending before the FinderSync its completion logs to goes.
    ~NautilusFinderSync();
    NautilusFinderSync(const NautilusFinderSync&) = delete;
    NautilusFinderSync& operator=(const NautilusFinderSync&) = delete;

    /// The menu for `selection`, answering Files' `request`.
    FinderMenu menu(const NautilusFileSelection& selection, NautilusExtension::Request request);
    /// Performs `item` for the selection its menu was built for.
    void perform(const FinderMenuItem& item, const NautilusFileSelection& selection);

    /// A provider's extension wired to a new NautilusFinderSync.
    static std::unique_ptr<NautilusExtension> makeExtension();

private:
    FinderSelectionHost host_;
    NautilusSystemLog systemLog_;
    DBusActionQueuedNotifier notifier_;
    std::unique_ptr<DBusQuillaAppLauncher> launcher_;
    FinderSync sync_;
    DBusSettingsChangedObserver settingsObserver_;
};

} // namespace quilla
