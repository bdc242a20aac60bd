#pragma once

#include "app/core/DesktopEntry.h"
#include "app/core/lists/ListPrompts.h"

#include <QPointer>
#include <QWidget>

#include <functional>
#include <string>

namespace quilla {

/// The list stores' choosers as Qt dialogs, modal over the settings window. Main thread only.
/// Without a QApplication (no display) every chooser answers "cancel" and the diagnostic log
/// says why.
class QtListPrompts final : public ListPrompts {
public:
    using FolderOpener = std::function<void(const std::filesystem::path&)>;
    using EntrySource = std::function<std::vector<DesktopEntry>()>;

    /// `openFolder` shows the shortcuts folder in the file manager; `installedApplications` lists
    /// what the application chooser offers (the installed desktop entries by default).
    explicit QtListPrompts(FolderOpener openFolder,
                           EntrySource installedApplications = &DesktopEntry::installed);

    /// The window the dialogs are modal to; without one (or once it is gone) the active window.
    void setDialogParent(QWidget* parent) { parent_ = parent; }

    std::optional<std::filesystem::path> chooseFolder(const OpenPanelOptions& options) override;
    std::optional<std::filesystem::path> chooseApplication(const OpenPanelOptions& options) override;
    std::optional<std::filesystem::path> chooseScriptFile(const OpenPanelOptions& options) override;
    std::optional<ShortcutPickerAnswer> pickShortcut(const ShortcutPickerOptions& options) override;

private:
    /// Whether a dialog titled `title` can be shown; logs the refusal when not.
    bool canShow(const std::string& title) const;
    QWidget* dialogParent() const;

    FolderOpener openFolder_;
    EntrySource installedApplications_;
    QPointer<QWidget> parent_;
};

} // namespace quilla
