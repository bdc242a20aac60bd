// Renders every page of the settings window to PNG on whatever platform Qt runs on (offscreen for
// the documentation): the 14 feature pages, the preferences, the feature-request sheet and the
// update dialog, in the light and the dark palette. Runs on a throwaway home, so the pictures
// show the default settings and never the developer's own.
#include "app/settings/ContentView.h"
#include "app/settings/FeatureRequestSheet.h"
#include "app/settings/PreferencesDetailView.h"
#include "app/settings/SettingsAppearance.h"
#include "app/settings/SettingsStores.h"
#include "app/settings/SettingsWindow.h"
#include "app/settings/SoftwareUpdateController.h"
#include "app/settings/tools/ListEditorScreenshots.h"
#include "app/settings/tools/StandaloneSettingsStores.h"
#include "shared/L10n.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QScrollBar>

#include <iostream>

using namespace quilla;

namespace {

// A machine with GNOME Files and its module, so the permission rows show their usual state.
SettingsPlatform screenshotPlatform(const QString& extensionFolder) {
    return {
        .openURL = [](const QUrl&) { return true; },
        .startDetached = [](const QString&, const QStringList&) { return true; },
        .extensionFolder = extensionFolder,
        .hasSchema = [](const QString&) { return true; },
        .hasProgram = [](const QString&) { return true; },
        .packagePolicy =
            [] {
                return std::optional<QString>(
                    QStringLiteral("quilla:\n  Installed: 1.0-1\n  Candidate: 1.0-1\n"));
            },
        .osReleasePath = QStringLiteral("/etc/os-release"),
    };
}

bool save(QWidget& widget, const QDir& folder, QString name) {
    // Names are written with "zh"; a run in English names its pictures "….en.…".
    if (L10n::language() == L10nLanguage::english) {
        name.replace(QStringLiteral(".zh."), QStringLiteral(".en."));
    }
    // Layouts settle over several turns of the event loop (pages with wrapped text need two passes).
    QElapsedTimer settling;
    settling.start();
    while (settling.elapsed() < 150) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    const QString path = folder.filePath(name + QStringLiteral(".png"));
    if (!widget.grab().save(path)) {
        std::cerr << "quilla-settings-screenshots: cannot write " << path.toStdString() << "\n";
        return false;
    }
    std::cout << path.toStdString() << "\n";
    return true;
}

bool renderAll(StandaloneSettingsStores& stores, const SettingsPlatform& platform, const QDir& folder,
               const QString& theme) {
    SettingsWindow window(stores.stores, platform);
    window.show();
    bool ok = true;
    for (const QuillaFeature feature : allQuillaFeatures()) {
        window.contentView()->select(SettingsPage::forFeature(feature));
        ok &=
            save(window, folder,
                 QStringLiteral("feature-%1.zh.%2").arg(QString::fromUtf8(rawValue(feature).data()), theme));
    }
    window.contentView()->select(SettingsPage::preferences());
    ok &= save(window, folder, QStringLiteral("preferences.zh.%1").arg(theme));
    // The page is taller than the window: its lower half as well.
    QScrollBar* scroll = window.contentView()->preferencesPage()->verticalScrollBar();
    scroll->setValue(scroll->maximum());
    ok &= save(window, folder, QStringLiteral("preferences-end.zh.%1").arg(theme));

    FeatureRequestSheet sheet([](const QString&) {}, &window);
    sheet.show();
    ok &= save(sheet, folder, QStringLiteral("feature-request.zh.%1").arg(theme));
    sheet.hide();

    const auto dialog = SoftwareUpdateController(platform.packagePolicy).makeDialog(&window);
    dialog->show();
    ok &= save(*dialog, folder, QStringLiteral("check-for-updates.zh.%1").arg(theme));
    return ok;
}

// A throwaway home at a fixed place: the paths the list pages show, and so the pictures, are
// the same on every run (a random temporary name would change every picture that shows one).
class ScreenshotHome final {
public:
    ScreenshotHome() : dir_(QDir::temp().filePath(QStringLiteral("quilla-screenshots"))) {
        dir_.removeRecursively();
        valid_ = QDir().mkpath(dir_.path());
    }
    ~ScreenshotHome() { dir_.removeRecursively(); }
    ScreenshotHome(const ScreenshotHome&) = delete;
    ScreenshotHome& operator=(const ScreenshotHome&) = delete;

    bool isValid() const { return valid_; }
    QString path() const { return dir_.path(); }
    QString filePath(const QString& name) const { return dir_.filePath(name); }

private:
    QDir dir_;
    bool valid_ = false;
};

} // namespace

int main(int argc, char** argv) {
    // Before anything reads a path: a home of its own.
    ScreenshotHome home;
    if (!home.isValid()) {
        std::cerr << "quilla-settings-screenshots: no temporary folder\n";
        return 1;
    }
    for (const char* variable :
         {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_STATE_HOME", "XDG_CACHE_HOME"}) {
        qputenv(variable, QDir(home.path()).filePath(QString::fromLatin1(variable)).toUtf8());
    }
    QApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    const QDir folder(arguments.size() > 1 ? arguments[1] : QStringLiteral("docs/screenshots"));
    if (!QDir().mkpath(folder.path())) {
        std::cerr << "quilla-settings-screenshots: cannot create " << folder.path().toStdString() << "\n";
        return 1;
    }
    QDir extensions(home.path());
    extensions.mkpath(QStringLiteral("extensions"));
    QFile(QDir(home.filePath(QStringLiteral("extensions"))).filePath(QStringLiteral("libquilla-nautilus.so")))
        .open(QIODevice::WriteOnly);
    const SettingsPlatform platform = screenshotPlatform(home.filePath(QStringLiteral("extensions")));

    StandaloneSettingsStores stores;
    bool ok = true;
    for (const bool dark : {false, true}) {
        SettingsAppearance::applyTheme(app, dark);
        ok &= renderAll(stores, platform, folder, dark ? QStringLiteral("dark") : QStringLiteral("light"));
    }
    // The list editors last: they change the lists the pages above show with their defaults.
    for (const bool dark : {false, true}) {
        SettingsAppearance::applyTheme(app, dark);
        SettingsWindow window(stores.stores, platform);
        window.show();
        const QString theme = dark ? QStringLiteral("dark") : QStringLiteral("light");
        ok &= renderListEditors(window, stores, folder, theme, save);
        ok &= renderChoosers(window, folder, theme, save);
    }
    return ok ? 0 : 1;
}
