#include "app/platform/qt/QtActionConsentPrompt.h"

#include "shared/L10n.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>

namespace quilla {

QtActionConsentPrompt::QtActionConsentPrompt(bool dialogsAllowed) : dialogsAllowed_(dialogsAllowed) {}

ActionConsentPrompt::Answer QtActionConsentPrompt::confirm(const ActionConsentQuestion& question) {
    if (!dialogsAllowed_ || qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) {
        return Answer::unavailable;
    }
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Quilla"), QString::fromStdString(question.message));
    QStringList lines;
    for (const auto& line : question.itemLines) {
        lines << QString::fromStdString(line);
    }
    box.setInformativeText(lines.join(QLatin1Char('\n')));
    QPushButton* run = box.addButton(QString::fromStdString(L10n::text<"继续">()), QMessageBox::AcceptRole);
    QPushButton* cancel = box.addButton(QString::fromStdString(L10n::text<"取消">()), QMessageBox::RejectRole);
    run->setObjectName(QString::fromLatin1(runButtonName));
    cancel->setObjectName(QString::fromLatin1(cancelButtonName));
    // Enter, Escape and closing all decline: only a deliberate choice runs the action.
    box.setDefaultButton(cancel);
    box.setEscapeButton(cancel);
    box.show();
    box.raise();
    box.activateWindow();
    box.exec();
    return box.clickedButton() == run ? Answer::allowed : Answer::refused;
}

} // namespace quilla
