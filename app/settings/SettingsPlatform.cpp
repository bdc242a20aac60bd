#include "app/settings/SettingsPlatform.h"

#include "app/platform/linux/GSettingsFinderScripting.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>

namespace quilla {
namespace {

std::optional<QString> aptCachePolicy() {
    if (QStandardPaths::findExecutable(QStringLiteral("apt-cache")).isEmpty()) {
        return std::nullopt;
    }
    QProcess process;
    // apt-cache reads the local package lists only; it never reaches the network.
    process.start(QStringLiteral("apt-cache"), {QStringLiteral("policy"), QStringLiteral("quilla")});
    if (!process.waitForFinished(3000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        process.kill();
        return std::nullopt;
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace

SettingsPlatform SettingsPlatform::system() {
    return {
        .openURL = [](const QUrl& url) { return QDesktopServices::openUrl(url); },
        .startDetached =
            [](const QString& program, const QStringList& arguments) {
                return QProcess::startDetached(program, arguments);
            },
        .extensionFolder = QStringLiteral(QUILLA_NAUTILUS_EXTENSION_DIR),
        .hasSchema = [](const QString& id) { return GSettingsFinderScripting::hasSchema(id.toStdString()); },
        .hasProgram =
            [](const QString& program) { return !QStandardPaths::findExecutable(program).isEmpty(); },
        .packagePolicy = aptCachePolicy,
        .osReleasePath = QStringLiteral("/etc/os-release"),
    };
}

} // namespace quilla
