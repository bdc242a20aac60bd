#pragma once

#include <QString>
#include <QUrl>

#include <functional>

class QWidget;

namespace quilla {

/// Turns a feature request into a mail in the user's mail program.
class FeatureRequestMailer final {
public:
    using URLOpener = std::function<bool(const QUrl&)>;

    /// The build's support mailbox.
    static QString mailbox();
    /// "Quilla X (Y)" material: the short version and the build in parentheses ("Unknown" when unset).
    static QString appVersion();
    /// The system's name: PRETTY_NAME of the os-release file, else "Linux".
    static QString osVersion(const QString& osReleasePath);
    /// The request trimmed of white space and line breaks at both ends.
    static QString trimmed(const QString& requestText);
    /// The mail body for an already trimmed request.
    static QString body(const QString& trimmedRequest, const QString& appVersion, const QString& osVersion);
    /// The mailto URL with subject and body; empty for a request that is only white space.
    static QUrl mailtoURL(const QString& requestText, const QString& appVersion, const QString& osVersion);
    /// Opens the mail for `requestText` with `open`; does nothing for an empty request.
    static void openMailComposer(const QString& requestText, const QString& osReleasePath,
                                 const URLOpener& open);
    /// The modal request dialog used when the form is asked for from outside the window; a
    /// submitted text goes to openMailComposer.
    static void presentRequestDialog(QWidget* parent, const QString& osReleasePath, const URLOpener& open);
};

} // namespace quilla
