#include "app/settings/lists/CustomShortcutActionSection.h"

#include "app/core/lists/CustomShortcutActionStore.h"
#include "app/settings/components/ReorderableRowList.h"
#include "app/settings/components/SettingsMetrics.h"
#include "app/settings/components/SettingsRowText.h"
#include "app/settings/lists/CustomShortcutActionRow.h"
#include "app/settings/lists/ListRowParts.h"
#include "shared/L10n.h"

#include <QHBoxLayout>
#include <QPushButton>

#include <algorithm>

namespace quilla {

CustomShortcutActionSection::CustomShortcutActionSection(CustomShortcutActionStore& store,
                                                         ListPrompts& prompts, std::array<RGBColor, 2> colors,
                                                         QWidget* parent)
    : ListEditorSection(qtText(L10n::text<"自定义动作">()), store, parent), store_(store), colors_(colors) {
    connect(rowList(), &ReorderableRowList::moveRequested, this, [this](int from, int destination) {
        store_.moveActions({static_cast<std::size_t>(from)}, static_cast<std::size_t>(destination));
    });
    addShortcut_ = addButton("plus", qtText(L10n::text<"添加快捷指令">()));
    addScript_ = addButton("wand.and.stars", qtText(L10n::text<"添加扩展">()));
    connect(addShortcut_, &QPushButton::clicked, this, [this, &prompts] { store_.addAction(prompts); });
    connect(addScript_, &QPushButton::clicked, this, [this, &prompts] { store_.addScriptAction(prompts); });
    startObserving();
}

void CustomShortcutActionSection::refresh() {
    showEntries<CustomShortcutActionRow>(
        store_.actions(),
        [this](const CustomShortcutAction& action) {
            return new CustomShortcutActionRow(
                action, colors_,
                [this](const CustomShortcutAction& renamed, const std::string& name) {
                    store_.update(renamed, name);
                },
                [this](const CustomShortcutAction& shown) { remove(shown); });
        },
        [this] { return emptyRow(); });
}

QWidget* CustomShortcutActionSection::emptyRow() {
    auto* row = new QWidget;
    auto* layout = ListRowParts::rowLayout(row, settings_metrics::rowMinimumHeight);
    layout->addWidget(ListRowParts::tile("sparkles", colors_, row));
    layout->addWidget(
        new SettingsRowText(qtText(L10n::text<"还没有自定义动作">()),
                            qtText(L10n::text<"添加已有快捷指令或扩展后，它会出现在 Finder 右键菜单里。">()),
                            row),
        1);
    return row;
}

void CustomShortcutActionSection::remove(const CustomShortcutAction& action) {
    if (const auto offset = offsetOf(store_.actions(), action)) {
        store_.removeActions({*offset});
    }
}

} // namespace quilla
