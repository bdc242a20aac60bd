#pragma once

#include "app/core/lists/FinderViewPreset.h"
#include "shared/catalog/RGBColor.h"

#include <QWidget>

#include <array>
#include <functional>

class QComboBox;
class QLineEdit;
class QToolButton;

namespace quilla {

/// One view preset: icon tile, a bordered name field saved on every keystroke, the "视图" and
/// "排序" pickers (an automatic name follows them), a remove button and a drag handle.
class FinderViewPresetRow final : public QWidget {
public:
    /// Both get the preset as the row shows it (the store updates rows in place).
    using Update = std::function<void(const FinderViewPreset&)>;
    using Remove = std::function<void(const FinderViewPreset&)>;

    FinderViewPresetRow(const FinderViewPreset& preset, std::array<RGBColor, 2> colors, Update update,
                        Remove remove, QWidget* parent = nullptr);

    /// Shows the stored preset without disturbing an edit in progress.
    void setEntry(const FinderViewPreset& preset);
    const FinderViewPreset& entry() const { return preset_; }

    QLineEdit* nameField() const { return name_; }
    QComboBox* viewPicker() const { return view_; }
    QComboBox* sortPicker() const { return sort_; }
    QToolButton* removeButton() const { return remove_; }

private:
    void showModes();

    FinderViewPreset preset_;
    QLineEdit* name_;
    QComboBox* view_;
    QComboBox* sort_;
    QToolButton* remove_;
};

} // namespace quilla
