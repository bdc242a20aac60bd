#include "app/platform/qt/QtOpenPanel.h"

#include "shared/L10n.h"
#include "shared/QuillaPaths.h"

#include <QFileDialog>

namespace quilla {
namespace {

QString qt(const std::string& text) {
    return QString::fromStdString(text);
}

QStringList nameFilters(const OpenPanelOptions& options) {
    QStringList filters;
    if (!options.nameFilters.empty()) {
        QStringList patterns;
        for (const auto& pattern : options.nameFilters) {
            patterns << qt(pattern);
        }
        filters << patterns.join(QLatin1Char(' '));
    }
    if (options.offersAllFiles || filters.isEmpty()) {
        filters << qt(L10n::text<"所有文件">()) + QStringLiteral(" (*)");
    }
    return filters;
}

QFileDialog::FileMode fileMode(const OpenPanelOptions& options) {
    if (options.canChooseDirectories && !options.canChooseFiles) {
        return QFileDialog::Directory;
    }
    return options.allowsMultipleSelection ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile;
}

} // namespace

void QtOpenPanel::configure(QFileDialog& dialog, const OpenPanelOptions& options) {
    dialog.setWindowTitle(qt(options.title));
    dialog.setModal(true); // before show(): exec() cannot make an already visible window modal
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(fileMode(options));
    dialog.setOption(QFileDialog::ShowDirsOnly, dialog.fileMode() == QFileDialog::Directory);
    // A read-only view has no "new folder" button.
    dialog.setOption(QFileDialog::ReadOnly, !options.canCreateDirectories);
    if (dialog.fileMode() != QFileDialog::Directory) {
        dialog.setNameFilters(nameFilters(options));
    }
    if (!options.confirmButtonTitle.empty()) {
        dialog.setLabelText(QFileDialog::Accept, qt(options.confirmButtonTitle));
    }
    dialog.setLabelText(QFileDialog::Reject, qt(L10n::text<"取消">()));
    dialog.setDirectory(qt(options.startDirectory.value_or(paths::home()).string()));
}

std::optional<std::filesystem::path> QtOpenPanel::run(QWidget* parent, const OpenPanelOptions& options) {
    QFileDialog dialog(parent);
    configure(dialog, options);
    dialog.show();
    dialog.raise();
    dialog.activateWindow();
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return std::filesystem::path(dialog.selectedFiles().constFirst().toStdString());
}

} // namespace quilla
