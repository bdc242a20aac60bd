#include "app/settings/tests/SettingsTestSupport.h"

#include "app/platform/qt/tests/QtTestSupport.h"
#include "shared/QuillaPaths.h"
#include "shared/SettingsFiles.h"

namespace quilla::test {

SettingsFixture::SettingsFixture() {
    ensureQtApplication(); // before any widget the test holds
    extensionFolder = QString::fromStdString((home.home() / "extensions").string());
    osReleasePath = QString::fromStdString((home.home() / "os-release").string());
}

SettingsPlatform SettingsFixture::platform() {
    return {
        .openURL =
            [this](const QUrl& url) {
                record.openedURLs.push_back(url);
                return true;
            },
        .startDetached =
            [this](const QString& program, const QStringList& arguments) {
                record.started.push_back(QStringList{program} + arguments);
                return true;
            },
        .extensionFolder = extensionFolder,
        .hasSchema = [this](const QString& id) { return schemas.contains(id); },
        .hasProgram = [this](const QString& program) { return programs.contains(program); },
        .packagePolicy = [this] { return packagePolicy; },
        .osReleasePath = osReleasePath,
    };
}

std::filesystem::path SettingsFixture::featureFile() {
    return paths::appSupportDir() / std::string(settings_files::kFeatureSettings);
}

std::string SettingsFixture::readFeatureFile(const std::string& expression) {
    std::string output;
    const std::string script = "import plistlib\n"
                               "d = plistlib.load(open('" +
                               featureFile().string() +
                               "', 'rb'))\n"
                               "print(" +
                               expression + ", end='')\n";
    if (runPython(script, &output) != 0) {
        return "python failed: " + output;
    }
    return output;
}

} // namespace quilla::test
