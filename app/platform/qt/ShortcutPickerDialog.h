#pragma once

#include "app/core/lists/ListPrompts.h"

#include <QDialog>

#include <filesystem>
#include <functional>

class QComboBox;

namespace quilla {

/// The "添加快捷指令" dialog: a message, an editable combo box of the shortcuts found and two
/// buttons. When no shortcut was found it also says which folder shortcuts live in and offers to
/// open it.
class ShortcutPickerDialog final : public QDialog {
public:
    using FolderOpener = std::function<void(const std::filesystem::path&)>;

    ShortcutPickerDialog(const ShortcutPickerOptions& options, FolderOpener openFolder,
                         QWidget* parent = nullptr);

    /// The combo box's text, what both the name and the shortcut name become.
    QString enteredText() const;

    static constexpr const char* comboBoxName = "quillaShortcutComboBox";
    static constexpr const char* openFolderButtonName = "quillaShortcutOpenFolder";

private:
    QWidget* folderHint(const ShortcutPickerOptions& options);

    QComboBox* comboBox_;
    FolderOpener openFolder_;
};

} // namespace quilla
