#pragma once

#include "app/core/DesktopEntry.h"
#include "app/core/lists/ListPrompts.h"

#include <QDialog>

#include <filesystem>
#include <optional>
#include <vector>

class QLabel;
class QLineEdit;
class QListView;
class QPushButton;

namespace quilla {

class DesktopEntryListModel;

/// Chooses an application for the open-with list: a searchable list of the installed desktop
/// entries, and "其他…" for a `.desktop` file anywhere on disk. Answers only existing desktop
/// entry files.
class ApplicationChooserDialog final : public QDialog {
public:
    ApplicationChooserDialog(const OpenPanelOptions& options, std::vector<DesktopEntry> entries,
                             QWidget* parent = nullptr);

    /// The chosen entry's file once the dialog was accepted.
    std::optional<std::filesystem::path> chosenPath() const { return chosen_; }

    DesktopEntryListModel& model() { return *model_; }

    // Object names of the parts, for tests and accessibility tools.
    static constexpr const char* searchFieldName = "quillaApplicationSearch";
    static constexpr const char* listName = "quillaApplicationList";
    static constexpr const char* otherButtonName = "quillaApplicationOther";
    static constexpr const char* errorLabelName = "quillaApplicationError";

private:
    void selectFirstRow();
    void acceptSelection();
    void chooseOtherFile();

    OpenPanelOptions options_;
    DesktopEntryListModel* model_;
    QLineEdit* search_;
    QListView* list_;
    QLabel* error_;
    QPushButton* confirm_;
    std::optional<std::filesystem::path> chosen_;
};

} // namespace quilla
