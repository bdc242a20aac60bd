#include "app/settings/LinuxPermissionStatus.h"

#include <QDir>
#include <QFileInfo>

namespace quilla {

LinuxPermissionStatus LinuxPermissionStatus::probe(const SettingsPlatform& platform) {
    LinuxPermissionStatus status;
    status.extensionFolder = platform.extensionFolder;
    status.extensionFolderExists =
        !status.extensionFolder.isEmpty() && QFileInfo(status.extensionFolder).isDir();
    status.moduleInstalled = status.extensionFolderExists && QFileInfo(status.modulePath()).isFile();
    status.settingsApplication =
        platform.hasProgram && platform.hasProgram(QStringLiteral("gnome-control-center"));
    status.filesSettings = platform.hasSchema && platform.hasSchema(QString::fromLatin1(filesSchema));
    status.filesProgram = platform.hasProgram && platform.hasProgram(QStringLiteral("nautilus"));
    return status;
}

QString LinuxPermissionStatus::modulePath() const {
    return QDir(extensionFolder).filePath(QString::fromLatin1(moduleFileName));
}

} // namespace quilla
