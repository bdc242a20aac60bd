#include "app/settings/lists/CustomShortcutActionRow.h"

#include "app/settings/components/SettingsMetrics.h"
#include "app/settings/components/SettingsRowText.h"
#include "app/settings/lists/ListRowParts.h"
#include "shared/L10n.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QToolButton>
#include <QVBoxLayout>

namespace quilla {

namespace m = settings_metrics;

CustomShortcutActionRow::CustomShortcutActionRow(const CustomShortcutAction& action,
                                                 std::array<RGBColor, 2> colors, Rename rename, Remove remove,
                                                 QWidget* parent)
    : QWidget(parent), action_(action), name_(new QLineEdit(qtText(action.name), this)),
      detail_(ListRowParts::secondaryLabel(QString(), this)), remove_(ListRowParts::removeButton(this)) {
    auto* layout = ListRowParts::rowLayout(this, m::rowMinimumHeight);
    const bool script = action.kind == CustomShortcutAction::Kind::script;
    layout->addWidget(ListRowParts::tile(script ? "terminal" : "sparkles", colors, this));

    name_->setFrame(false);
    name_->setPlaceholderText(qtText(L10n::text("右键菜单显示名称")));
    name_->setFont(settingsFont(font(), m::titlePixelSize));
    auto* text = new QVBoxLayout;
    text->setSpacing(2);
    text->addWidget(name_);
    text->addWidget(detail_);
    layout->addLayout(text, 1);
    detail_->setToolTip(qtText(action.detailText()));
    detail_->setMinimumWidth(1); // elided to the row, never widening it
    elideDetail();

    layout->addWidget(remove_);
    layout->addWidget(ListRowParts::dragHandle(this));
    connect(name_, &QLineEdit::returnPressed, this, [this, rename = std::move(rename)] {
        QPointer<CustomShortcutActionRow> self(this);
        rename(action_, name_->text().toStdString());
        if (self) { // the field shows what was stored: trimmed, or the detail text for a blank name
            name_->setText(qtText(action_.name));
        }
    });
    connect(remove_, &QToolButton::clicked, this, [this, remove = std::move(remove)] { remove(action_); });
}

void CustomShortcutActionRow::setEntry(const CustomShortcutAction& action) {
    const bool nameChanged = action.name != action_.name;
    action_ = action;
    if (nameChanged) {
        name_->setText(qtText(action.name));
    }
}

void CustomShortcutActionRow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    elideDetail();
}

void CustomShortcutActionRow::elideDetail() {
    const QString full = qtText(action_.detailText());
    detail_->setText(
        detail_->fontMetrics().elidedText(full, Qt::ElideMiddle, std::max(detail_->width(), 40)));
}

} // namespace quilla
