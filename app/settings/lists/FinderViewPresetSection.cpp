#include "app/settings/lists/FinderViewPresetSection.h"

#include "app/core/lists/FinderViewPresetStore.h"
#include "app/settings/components/SettingsRowText.h"
#include "app/settings/lists/FinderViewPresetRow.h"
#include "shared/L10n.h"

#include <QPushButton>

namespace quilla {

FinderViewPresetSection::FinderViewPresetSection(FinderViewPresetStore& store, std::array<RGBColor, 2> colors,
                                                 QWidget* parent)
    : ListEditorSection(qtText(L10n::text<"显示方案">()), store, parent), store_(store), colors_(colors) {
    connect(rowList(), &ReorderableRowList::moveRequested, this, [this](int from, int destination) {
        store_.movePresets({static_cast<std::size_t>(from)}, static_cast<std::size_t>(destination));
    });
    add_ = addButton("plus", qtText(L10n::text<"添加显示方案">()));
    connect(add_, &QPushButton::clicked, this, [this] { store_.addPreset(); });
    startObserving();
}

void FinderViewPresetSection::refresh() {
    showEntries<FinderViewPresetRow>(store_.presets(), [this](const FinderViewPreset& preset) {
        return new FinderViewPresetRow(
            preset, colors_, [this](const FinderViewPreset& changed) { store_.update(changed); },
            [this](const FinderViewPreset& shown) { remove(shown); });
    });
}

void FinderViewPresetSection::remove(const FinderViewPreset& preset) {
    if (const auto offset = offsetOf(store_.presets(), preset)) {
        store_.removePresets({*offset});
    }
}

} // namespace quilla
