#include "app/settings/SettingsFileWatcher.h"

#include <QDir>
#include <QFileInfo>

namespace quilla {

SettingsFileWatcher::SettingsFileWatcher(QString folder, QStringList fileNames, std::function<void()> reload,
                                         QObject* parent)
    : QObject(parent), folder_(std::move(folder)), fileNames_(std::move(fileNames)),
      reload_(std::move(reload)) {
    // A save is a temporary file, a write and a rename: wait for the burst to end.
    settle_.setSingleShot(true);
    settle_.setInterval(80);
    connect(&settle_, &QTimer::timeout, this, [this] {
        arm();
        reload_();
    });
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this, &SettingsFileWatcher::changed);
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, &SettingsFileWatcher::changed);
    QDir().mkpath(folder_);
    arm();
}

void SettingsFileWatcher::arm() {
    if (!watcher_.directories().contains(folder_)) {
        watcher_.addPath(folder_);
    }
    const QDir dir(folder_);
    for (const QString& name : fileNames_) {
        const QString path = dir.filePath(name);
        if (QFileInfo::exists(path) && !watcher_.files().contains(path)) {
            watcher_.addPath(path);
        }
    }
}

void SettingsFileWatcher::changed() {
    settle_.start();
}

} // namespace quilla
