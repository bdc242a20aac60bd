#include "app/settings/lists/CustomDestinationRow.h"

#include "app/settings/components/SettingsMetrics.h"
#include "app/settings/components/SettingsRowText.h"
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
    auto* text = new SettingsRowText(qtText(destination.name), QString(), this);
    name_ = text->titleLabel();
    path_ = text->subtitleLabel();
    text->setSubtitle(qtText(destination.path));
    path_->setWordWrap(false);
    path_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(text, 1);
    remove_ = ListRowParts::removeButton(this);
    connect(remove_, &QToolButton::clicked, this, [remove = std::move(remove)] { remove(); });
    layout->addWidget(remove_);
    layout->addWidget(ListRowParts::dragHandle(this));
}

} // namespace quilla
