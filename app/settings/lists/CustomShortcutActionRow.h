#pragma once

#include "app/core/lists/CustomShortcutAction.h"
#include "shared/catalog/RGBColor.h"

#include <QWidget>

#include <array>
#include <functional>
#include <string>

class QLabel;
class QLineEdit;
class QToolButton;

namespace quilla {

class ElidedLabel;

/// One custom action: icon tile, its name in a borderless field (a local copy, committed with
/// Return), the shortcut name or script path below it on one line, and a remove button.
class CustomShortcutActionRow final : public QWidget {
public:
    using Rename = std::function<void(const CustomShortcutAction&, const std::string&)>;
    /// Gets the entry as the row last showed it (renames update rows in place).
    using Remove = std::function<void(const CustomShortcutAction&)>;

    CustomShortcutActionRow(const CustomShortcutAction& action, std::array<RGBColor, 2> colors, Rename rename,
                            Remove remove, QWidget* parent = nullptr);

    /// Shows the stored entry: the name field follows only when the stored name changed, so an
    /// edit in progress survives changes to other entries.
    void setEntry(const CustomShortcutAction& action);
    const CustomShortcutAction& entry() const { return action_; }

    QLineEdit* nameField() const { return name_; }
    ElidedLabel* detailLabel() const { return detail_; }
    QToolButton* removeButton() const { return remove_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    CustomShortcutAction action_;
    QLineEdit* name_;
    ElidedLabel* detail_;
    QToolButton* remove_;
};

} // namespace quilla
