#pragma once

#include "app/settings/lists/ListEditorSection.h"
#include "shared/catalog/RGBColor.h"

#include <array>

class QPushButton;

namespace quilla {

class FinderViewPresetStore;
struct FinderViewPreset;

/// The editor of the view presets ("显示方案"): reorderable rows with a name field and the two
/// pickers, and the button "添加显示方案".
class FinderViewPresetSection final : public ListEditorSection {
public:
    FinderViewPresetSection(FinderViewPresetStore& store, std::array<RGBColor, 2> colors,
                            QWidget* parent = nullptr);

    QPushButton* addPresetButton() const { return add_; }

protected:
    void refresh() override;

private:
    void remove(const FinderViewPreset& preset);

    FinderViewPresetStore& store_;
    std::array<RGBColor, 2> colors_;
    QPushButton* add_;
};

} // namespace quilla
