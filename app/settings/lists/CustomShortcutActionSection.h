#pragma once

#include "app/settings/lists/ListEditorSection.h"
#include "shared/catalog/RGBColor.h"

#include <array>

class QPushButton;

namespace quilla {

class CustomShortcutActionStore;
struct CustomShortcutAction;
class ListPrompts;

/// The editor of the custom actions ("自定义动作"): an empty-state row or the reorderable rows
/// with their name fields, and the buttons "添加快捷指令" and "添加扩展".
class CustomShortcutActionSection final : public ListEditorSection {
public:
    CustomShortcutActionSection(CustomShortcutActionStore& store, ListPrompts& prompts,
                                std::array<RGBColor, 2> colors, QWidget* parent = nullptr);

    QPushButton* addShortcutButton() const { return addShortcut_; }
    QPushButton* addScriptButton() const { return addScript_; }

protected:
    void refresh() override;

private:
    QWidget* emptyRow();
    void remove(const CustomShortcutAction& action);

    CustomShortcutActionStore& store_;
    std::array<RGBColor, 2> colors_;
    QPushButton* addShortcut_;
    QPushButton* addScript_;
};

} // namespace quilla
