#pragma once

#include "app/settings/SettingsPlatform.h"
#include "app/settings/tools/StandaloneSettingsStores.h"
#include "tests/support/TestEnv.h"

#include <QUrl>

#include <filesystem>
#include <string>
#include <vector>

namespace quilla::test {

/// What the pages asked of the machine.
struct PlatformRecord {
    std::vector<QUrl> openedURLs;
    std::vector<QStringList> started; ///< program first, then its arguments
};

/// Every store the window edits, on a fresh home, and a machine that answers as the test says;
/// makes sure the QApplication exists.
class SettingsFixture {
public:
    SettingsFixture();

    /// A platform that records what is opened and started; `extensionFolder` and the programs
    /// and schemas present are the test's.
    SettingsPlatform platform();

    ScopedHome home;
    StandaloneSettingsStores all;
    RecordingSettingsChangeNotifier& notifier = all.notifier;
    FeatureSettingsStore& features = all.features;
    AppPreferencesStore& preferences = all.preferences;
    InMemoryLoginItem& loginItem = all.loginItem;
    SettingsStores& stores = all.stores;

    PlatformRecord record;
    QString extensionFolder;
    QStringList programs{QStringLiteral("nautilus"), QStringLiteral("gnome-control-center")};
    QStringList schemas{QStringLiteral("org.gnome.nautilus.preferences")};
    std::optional<QString> packagePolicy;
    QString osReleasePath;

    /// The application's copy of the feature settings.
    static std::filesystem::path featureFile();
    /// A Python expression's value over the feature settings file read with plistlib (`d`).
    static std::string readFeatureFile(const std::string& expression);
};

} // namespace quilla::test
