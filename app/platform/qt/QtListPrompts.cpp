#include "app/platform/qt/QtListPrompts.h"

#include "app/platform/qt/ApplicationChooserDialog.h"
#include "app/platform/qt/QtOpenPanel.h"
#include "app/platform/qt/ShortcutPickerDialog.h"
#include "shared/DiagnosticLog.h"
#include "shared/QuillaPaths.h"

#include <QApplication>

namespace quilla {

QtListPrompts::QtListPrompts(FolderOpener openFolder, EntrySource installedApplications)
    : openFolder_(std::move(openFolder)), installedApplications_(std::move(installedApplications)) {}

bool QtListPrompts::canShow(const std::string& title) const {
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr) {
        return true;
    }
    appendDiagnosticLog(paths::appActionLogPath(),
                        "chooser answered cancel, no display for dialogs: " + title);
    return false;
}

QWidget* QtListPrompts::dialogParent() const {
    return parent_ ? parent_.data() : QApplication::activeWindow();
}

std::optional<std::filesystem::path> QtListPrompts::chooseFolder(const OpenPanelOptions& options) {
    return canShow(options.title) ? QtOpenPanel::run(dialogParent(), options) : std::nullopt;
}

std::optional<std::filesystem::path> QtListPrompts::chooseApplication(const OpenPanelOptions& options) {
    if (!canShow(options.title)) {
        return std::nullopt;
    }
    ApplicationChooserDialog dialog(
        options, installedApplications_ ? installedApplications_() : std::vector<DesktopEntry>{},
        dialogParent());
    return dialog.exec() == QDialog::Accepted ? dialog.chosenPath() : std::nullopt;
}

std::optional<std::filesystem::path> QtListPrompts::chooseScriptFile(const OpenPanelOptions& options) {
    return canShow(options.title) ? QtOpenPanel::run(dialogParent(), options) : std::nullopt;
}

std::optional<ShortcutPickerAnswer> QtListPrompts::pickShortcut(const ShortcutPickerOptions& options) {
    if (!canShow(options.messageText)) {
        return std::nullopt;
    }
    ShortcutPickerDialog dialog(options, openFolder_, dialogParent());
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    const auto text = dialog.enteredText().toStdString();
    return ShortcutPickerAnswer{text, text};
}

} // namespace quilla
