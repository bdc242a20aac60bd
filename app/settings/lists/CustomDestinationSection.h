#pragma once

#include "app/core/lists/CustomDestination.h"
#include "app/core/lists/CustomDestinationKind.h"
#include "app/settings/lists/ListEditorSection.h"
#include "shared/catalog/RGBColor.h"

#include <array>

class QPushButton;

namespace quilla {

class CustomDestinationStore;
class ListPrompts;

/// The editor of one destination list ("复制到文件夹列表", "常用应用", …): its entries, reorderable
/// by dragging, each removable, and the add button that opens the kind's chooser.
class CustomDestinationSection final : public ListEditorSection {
public:
    CustomDestinationSection(CustomDestinationKind kind, CustomDestinationStore& store, ListPrompts& prompts,
                             std::array<RGBColor, 2> colors, QWidget* parent = nullptr);

    QPushButton* addButtonWidget() const { return add_; }

protected:
    void refresh() override;

private:
    void remove(const CustomDestination& destination);

    CustomDestinationKind kind_;
    CustomDestinationStore& store_;
    std::array<RGBColor, 2> colors_;
    QPushButton* add_;
};

} // namespace quilla
