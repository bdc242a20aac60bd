#include "app/settings/FeatureRequestMailer.h"

#include "app/core/preferences/AppVersion.h"
#include "app/settings/components/SettingsRowText.h"
#include "shared/L10n.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace quilla {
namespace {

// os-release values may be quoted with " or ' and escape with backslashes.
QString unquoted(QString value) {
    value = value.trimmed();
    if (value.size() >= 2 && (value.front() == QLatin1Char('"') || value.front() == QLatin1Char('\'')) &&
        value.back() == value.front()) {
        value = value.mid(1, value.size() - 2);
    }
    QString result;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] == QLatin1Char('\\') && i + 1 < value.size()) {
            ++i;
        }
        result += value[i];
    }
    return result;
}

} // namespace

QString FeatureRequestMailer::mailbox() {
    return QStringLiteral(QUILLA_SUPPORT_MAILBOX);
}

QString FeatureRequestMailer::appVersion() {
    return QString::fromStdString(AppVersion::shortVersion() + " (" + AppVersion::build() + ")");
}

QString FeatureRequestMailer::osVersion(const QString& osReleasePath) {
    QFile file(osReleasePath);
    if (file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        while (!file.atEnd()) {
            const QString line = QString::fromUtf8(file.readLine(4096));
            if (line.startsWith(QLatin1String("PRETTY_NAME="))) {
                const QString name = unquoted(line.mid(12));
                if (!name.isEmpty()) {
                    return name;
                }
            }
        }
    }
    return QStringLiteral("Linux");
}

QString FeatureRequestMailer::trimmed(const QString& requestText) {
    return requestText.trimmed();
}

QString FeatureRequestMailer::body(const QString& trimmedRequest, const QString& appVersion,
                                   const QString& osVersion) {
    // The key's last line says "macOS:" (keys never change); the display tables label it as the
    // system ("系统:", "System:"), and its value is this system's name.
    QString text = QString::fromStdString(
        L10n::text<"我想请求 Quilla 增加这个功能：\n\n%@\n\n---\nApp: Quilla %@\nmacOS: %@">());
    // Each search starts after the value just filled in: a request that itself contains "%@"
    // must not receive the version.
    qsizetype from = 0;
    for (const QString& value : {trimmedRequest, appVersion, osVersion}) {
        const qsizetype at = text.indexOf(QLatin1String("%@"), from);
        if (at < 0) {
            break;
        }
        text.replace(at, 2, value);
        from = at + value.size();
    }
    return text;
}

QUrl FeatureRequestMailer::mailtoURL(const QString& requestText, const QString& appVersion,
                                     const QString& osVersion) {
    const QString request = trimmed(requestText);
    if (request.isEmpty()) {
        return {};
    }
    QUrl url;
    url.setScheme(QStringLiteral("mailto"));
    url.setPath(mailbox());
    // Encoded fully, so '&', '+', '=' and '#' in the request cannot end the body early.
    const QByteArray query = "subject=" + QUrl::toPercentEncoding(localized<"Quilla 新功能请求">()) +
                             "&body=" + QUrl::toPercentEncoding(body(request, appVersion, osVersion));
    url.setQuery(QString::fromLatin1(query), QUrl::StrictMode);
    return url;
}

void FeatureRequestMailer::openMailComposer(const QString& requestText, const QString& osReleasePath,
                                            const URLOpener& open) {
    const QUrl url = mailtoURL(requestText, appVersion(), osVersion(osReleasePath));
    if (!url.isEmpty()) {
        open(url); // the mail program's answer is not checked
    }
}

void FeatureRequestMailer::presentRequestDialog(QWidget* parent, const QString& osReleasePath,
                                                const URLOpener& open) {
    QDialog dialog(parent);
    dialog.setWindowTitle(localized<"请求新功能">());
    auto* layout = new QVBoxLayout(&dialog);
    auto* message = new QLabel(localized<"请求新功能">(), &dialog);
    QFont bold = message->font();
    bold.setBold(true);
    message->setFont(bold);
    layout->addWidget(message);
    layout->addWidget(new QLabel(localized<"描述你希望 Quilla 增加的 Finder 右键功能。">(), &dialog));
    auto* editor = new QPlainTextEdit(&dialog);
    editor->setFixedSize(420, 140);
    layout->addWidget(editor);
    auto* buttons = new QDialogButtonBox(&dialog);
    buttons->addButton(localized<"提交">(), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(localized<"取消">(), QDialogButtonBox::RejectRole);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    if (dialog.exec() == QDialog::Accepted) {
        openMailComposer(editor->toPlainText(), osReleasePath, open);
    }
}

} // namespace quilla
