#pragma once

#include "app/core/Observable.h"
#include "app/core/preferences/AppPreferences.h"

namespace quilla {

class LoginItem;

/// The application's preferences for the settings window (main thread). Reveal choices are
/// saved at once; launch at login follows the real login item and, when turning it on or off
/// fails, flips back silently without writing the file.
class AppPreferencesStore final : public Observable {
public:
    /// Loads the file; launch at login is taken from `loginItem`, and the file is rewritten at
    /// once when it disagrees, so the file follows the system.
    explicit AppPreferencesStore(LoginItem& loginItem);

    bool revealCreatedItems() const { return preferences_.revealCreatedItems; }
    bool revealActionResults() const { return preferences_.revealActionResults; }
    bool launchAtLogin() const { return preferences_.launchAtLogin; }
    bool notifyOnActionFailure() const { return preferences_.notifyOnActionFailure; }
    const AppPreferences& preferences() const { return preferences_; }
    /// True only while a failed login-item change is being undone.
    bool isRollingBackLaunchAtLogin() const { return isRollingBackLaunchAtLogin_; }

    /// Adopts the file as another process left it (launch at login still follows the login item)
    /// and announces a difference without writing; a missing or unreadable file changes nothing.
    /// True when something changed.
    bool reload();

    /// Assigns and saves all preferences.
    void setRevealCreatedItems(bool value);
    void setRevealActionResults(bool value);
    void setNotifyOnActionFailure(bool value);
    /// Assigns, then registers or unregisters the login item; saves on success, otherwise
    /// assigns the previous value back (observers see both changes) and writes nothing.
    void setLaunchAtLogin(bool value);

private:
    void launchAtLoginChanged(bool previous);
    void save() const;

    LoginItem& loginItem_;
    AppPreferences preferences_;
    bool isRollingBackLaunchAtLogin_ = false;
};

} // namespace quilla
