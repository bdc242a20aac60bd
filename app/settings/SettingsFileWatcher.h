#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QStringList>
#include <QTimer>

#include <functional>

namespace quilla {

/// Watches settings files another process may change (a second instance, a hand edit) and calls
/// `reload` once after a burst of changes. Watches the folder too, because an atomic save
/// replaces the file (a rename) and the old file's watch ends with it; the file watches are armed
/// again after every change.
class SettingsFileWatcher final : public QObject {
    Q_OBJECT

public:
    SettingsFileWatcher(QString folder, QStringList fileNames, std::function<void()> reload,
                        QObject* parent = nullptr);

    /// The files currently watched (for tests).
    QStringList watchedFiles() const { return watcher_.files(); }

private:
    void arm();
    void changed();

    QString folder_;
    QStringList fileNames_;
    std::function<void()> reload_;
    QFileSystemWatcher watcher_;
    QTimer settle_;
};

} // namespace quilla
