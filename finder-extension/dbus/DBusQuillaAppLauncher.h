#pragma once

#include "finder-extension/core/QuillaAppLauncher.h"

#include <gio/gio.h>

namespace quilla {

/// The application as seen on the session bus: it runs while it owns the name
/// "app.kelvarin.Quilla" (NameHasOwner), and it is started by D-Bus activation
/// (StartServiceByName, through its app.kelvarin.Quilla.service file), which never raises a window.
class DBusQuillaAppLauncher final : public QuillaAppLauncher {
public:
    enum class Mode {
        /// Blocks until the bus reports the start (for command-line hosts without a main loop).
        waitForStart,
        /// Returns at once; the completion runs later on the caller's main loop (for file managers).
        asynchronous,
    };

    explicit DBusQuillaAppLauncher(Mode mode);
    /// Cancels starts still pending: their completions never run.
    ~DBusQuillaAppLauncher() override;
    DBusQuillaAppLauncher(const DBusQuillaAppLauncher&) = delete;
    DBusQuillaAppLauncher& operator=(const DBusQuillaAppLauncher&) = delete;

    bool isApplicationRunning() noexcept override;
    void startApplication(Completion completion) noexcept override;

private:
    Mode mode_;
    GCancellable* cancellable_;
};

} // namespace quilla
