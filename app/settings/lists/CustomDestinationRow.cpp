#include "app/settings/lists/CustomDestinationRow.h"

#include "app/settings/components/SettingsMetrics.h"
#include "app/settings/components/SettingsRowText.h"
#include "app/settings/lists/ElidedLabel.h"
#include "app/settings/lists/ListRowParts.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>

namespace quilla {

namespace m = settings_metrics;

// Destination rows are a little taller than other rows: the path needs its own line.
constexpr int kDestinationRowHeight = 56;

CustomDestinationRow::CustomDestinationRow(const CustomDestination& destination, CustomDestinationKind kind,
                                           std::array<RGBColor, 2> colors, std::function<void()> remove,
                                           QWidget* parent)
    : QWidget(parent) {
    auto* layout = ListRowParts::rowLayout(this, kDestinationRowHeight);
    layout->addWidget(ListRowParts::tile(holdsFolders(kind) ? "folder" : "app", colors, this));
    name_ = ListRowParts::titleLabel(qtText(destination.name), this);
    path_ = ListRowParts::detailLabel(qtText(destination.path), this);
    layout->addLayout(ListRowParts::textColumn(name_, path_), 1);
    remove_ = ListRowParts::removeButton(this);
    connect(remove_, &QToolButton::clicked, this, [remove = std::move(remove)] { remove(); });
    layout->addWidget(remove_);
    layout->addWidget(ListRowParts::dragHandle(this));
}

} // namespace quilla
