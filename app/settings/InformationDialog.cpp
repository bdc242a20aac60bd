#include "app/settings/InformationDialog.h"

#include "app/settings/ApplicationIcon.h"
#include "app/settings/components/SettingsRowText.h"

#include <QMessageBox>
#include <QPushButton>

namespace quilla {

std::unique_ptr<QMessageBox> makeInformationDialog(const QString& title, const QString& text,
                                                   const QString& informativeText, QWidget* parent) {
    auto box = std::make_unique<QMessageBox>(QMessageBox::NoIcon, title, text, QMessageBox::NoButton, parent);
    box->setIconPixmap(applicationIcon().pixmap(64, 64));
    box->setInformativeText(informativeText);
    box->setDefaultButton(box->addButton(localized<"确定">(), QMessageBox::AcceptRole));
    return box;
}

} // namespace quilla
