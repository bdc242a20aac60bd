#pragma once

#include <QString>

#include <functional>
#include <memory>
#include <optional>

class QMessageBox;
class QWidget;

namespace quilla {

/// "检查更新" without an updater framework: Quilla is updated by the system's package manager,
/// so the check tells the current version and, for an installation from the Debian package,
/// which version the package manager offers (from its local lists; no network access).
class SoftwareUpdateController final {
public:
    /// What `apt-cache policy quilla` says.
    struct PackagePolicy {
        QString installed; ///< empty when the package is not installed
        QString candidate; ///< empty when no source offers it
    };
    using PolicySource = std::function<std::optional<QString>()>;

    explicit SoftwareUpdateController(PolicySource policy);

    /// Parses `apt-cache policy` output; nothing when it names no package.
    static std::optional<PackagePolicy> parsePolicy(const QString& output);
    /// The dialog's text for this version and package state.
    static QString message(const QString& version, const std::optional<PackagePolicy>& policy);

    /// The version dialog, not yet shown.
    std::unique_ptr<QMessageBox> makeDialog(QWidget* parent) const;
    /// Shows the version dialog, modal over `parent`.
    void checkForUpdates(QWidget* parent) const;
    /// The dialog's text for this machine now.
    QString currentMessage() const;

private:
    PolicySource policy_;
};

} // namespace quilla
