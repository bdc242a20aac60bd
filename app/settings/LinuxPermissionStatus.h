#pragma once

#include "app/settings/SettingsPlatform.h"

#include <QString>

namespace quilla {

/// What this machine says about the four steps of the permission guide: whether the file
/// manager module is installed, whether there is a settings panel for file access, whether GNOME
/// Files' settings can be changed, and whether Files can be restarted.
struct LinuxPermissionStatus {
    static constexpr const char* moduleFileName = "libquilla-nautilus.so";
    static constexpr const char* filesSchema = "org.gnome.nautilus.preferences";

    QString extensionFolder;
    bool moduleInstalled = false;
    bool extensionFolderExists = false;
    bool settingsApplication = false; ///< gnome-control-center, for its privacy panel
    bool filesSettings = false;       ///< the org.gnome.nautilus.preferences schema
    bool filesProgram = false;        ///< nautilus on PATH, so `nautilus -q` can restart it

    /// Looks at the machine through `platform`.
    static LinuxPermissionStatus probe(const SettingsPlatform& platform);
    /// The full path of the module in the extension folder.
    QString modulePath() const;
};

} // namespace quilla
