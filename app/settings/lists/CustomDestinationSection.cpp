#include "app/settings/lists/CustomDestinationSection.h"

#include "app/core/lists/CustomDestinationStore.h"
#include "app/settings/components/ReorderableRowList.h"
#include "app/settings/components/SettingsRowText.h"
#include "app/settings/lists/CustomDestinationRow.h"

#include <QPushButton>

#include <algorithm>

namespace quilla {

// At least 70 high even with no entry, so the list is visibly there to add to.
constexpr int kDestinationListMinimumHeight = 70;

CustomDestinationSection::CustomDestinationSection(CustomDestinationKind kind, CustomDestinationStore& store,
                                                   ListPrompts& prompts, std::array<RGBColor, 2> colors,
                                                   QWidget* parent)
    : ListEditorSection(qtText(sectionTitle(kind)), store, parent), kind_(kind), store_(store),
      colors_(colors) {
    rowList()->setMinimumHeight(kDestinationListMinimumHeight);
    connect(rowList(), &ReorderableRowList::moveRequested, this, [this](int from, int destination) {
        store_.moveDestinations(kind_, {static_cast<std::size_t>(from)},
                                static_cast<std::size_t>(destination));
    });
    add_ = addButton("plus", qtText(addButtonTitle(kind)));
    connect(add_, &QPushButton::clicked, this, [this, &prompts] { store_.addDestination(kind_, prompts); });
    startObserving();
}

void CustomDestinationSection::refresh() {
    std::vector<QWidget*> rows;
    for (const auto& destination : store_.destinations(kind_)) {
        rows.push_back(new CustomDestinationRow(destination, kind_, colors_,
                                                [this, destination] { remove(destination); }));
    }
    showRows(std::move(rows));
}

void CustomDestinationSection::remove(const CustomDestination& destination) {
    if (const auto offset = offsetOf(store_.destinations(kind_), destination)) {
        store_.removeDestinations(kind_, {*offset});
    }
}

} // namespace quilla
