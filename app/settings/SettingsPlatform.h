#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>
#include <optional>

namespace quilla {

/// What the settings pages ask of the machine, behind plain functions so tests can answer for it.
struct SettingsPlatform {
    /// Opens a URL (mailto:, file:) with the desktop's handler; true when one accepted it.
    std::function<bool(const QUrl&)> openURL;
    /// Starts a program without waiting for it; false when it could not start.
    std::function<bool(const QString& program, const QStringList& arguments)> startDetached;
    /// The folder GNOME Files loads its extension modules from.
    QString extensionFolder;
    /// Whether GSettings knows a schema (GNOME Files' preferences).
    std::function<bool(const QString& schemaID)> hasSchema;
    /// Whether a program is on PATH.
    std::function<bool(const QString& program)> hasProgram;
    /// The output of `apt-cache policy quilla`, nothing when apt is absent or failed.
    std::function<std::optional<QString>()> packagePolicy;
    /// The os-release file the feature-request mail reads the system's name from.
    QString osReleasePath;

    /// The real machine.
    static SettingsPlatform system();
};

} // namespace quilla
