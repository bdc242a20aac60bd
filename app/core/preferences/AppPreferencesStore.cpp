#include "app/core/preferences/AppPreferencesStore.h"

#include "app/core/preferences/AppPreferencesPersistence.h"
#include "app/core/preferences/LaunchAtLoginController.h"

namespace quilla {

AppPreferencesStore::AppPreferencesStore(LoginItem& loginItem) : loginItem_(loginItem) {
    const AppPreferences loaded = AppPreferencesPersistence::load();
    preferences_ = loaded;
    preferences_.launchAtLogin = loginItem_.isEnabled();
    if (loaded.launchAtLogin != preferences_.launchAtLogin) {
        save();
    }
}

bool AppPreferencesStore::reload() {
    const auto saved = AppPreferencesPersistence::loadSaved();
    if (!saved) {
        return false; // a removed or half-edited file is no reason to forget the user's choices
    }
    AppPreferences loaded = *saved;
    loaded.launchAtLogin = loginItem_.isEnabled();
    if (loaded == preferences_) {
        return false;
    }
    preferences_ = loaded;
    notifyChanged();
    return true;
}

void AppPreferencesStore::setRevealCreatedItems(bool value) {
    preferences_.revealCreatedItems = value;
    save();
    notifyChanged();
}

void AppPreferencesStore::setRevealActionResults(bool value) {
    preferences_.revealActionResults = value;
    save();
    notifyChanged();
}

void AppPreferencesStore::setNotifyOnActionFailure(bool value) {
    preferences_.notifyOnActionFailure = value;
    save();
    notifyChanged();
}

void AppPreferencesStore::setLaunchAtLogin(bool value) {
    const bool previous = preferences_.launchAtLogin;
    preferences_.launchAtLogin = value;
    notifyChanged();
    launchAtLoginChanged(previous);
}

void AppPreferencesStore::launchAtLoginChanged(bool previous) {
    if (isRollingBackLaunchAtLogin_ || preferences_.launchAtLogin == previous) {
        return;
    }
    if (LaunchAtLoginController::setEnabled(loginItem_, preferences_.launchAtLogin)) {
        save();
        return;
    }
    // The system refused: the toggle goes back without a message and the file stays as it was.
    isRollingBackLaunchAtLogin_ = true;
    setLaunchAtLogin(previous);
    isRollingBackLaunchAtLogin_ = false;
}

void AppPreferencesStore::save() const {
    AppPreferencesPersistence::save(preferences_);
}

} // namespace quilla
