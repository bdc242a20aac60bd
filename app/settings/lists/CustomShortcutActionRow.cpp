#include "app/settings/lists/CustomShortcutActionRow.h"

#include "app/settings/components/SettingsMetrics.h"
#include "app/settings/components/SettingsPalette.h"
#include "app/settings/components/SettingsRowText.h"
#include "app/settings/lists/ElidedLabel.h"
#include "app/settings/lists/ListRowParts.h"
#include "shared/L10n.h"

#include <QEvent>
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
      detail_(ListRowParts::detailLabel(qtText(action.detailText()), this)),
      remove_(ListRowParts::removeButton(this)) {
    auto* layout = ListRowParts::rowLayout(this, m::rowMinimumHeight);
    const bool script = action.kind == CustomShortcutAction::Kind::script;
    layout->addWidget(ListRowParts::tile(script ? "terminal" : "sparkles", colors, this));

    name_->installEventFilter(this); // before anything can polish it
    name_->setFrame(false);
    // No padding, so the name lines up with the detail below it like a title; a thin accent line
    // while it has the focus tells that it is being edited.
    name_->setStyleSheet(QStringLiteral("QLineEdit { border: none; border-bottom: 1px solid transparent; "
                                        "padding: 0; background: transparent; }"
                                        "QLineEdit:focus { border-bottom-color: %1; }")
                             .arg(SettingsPalette::accent(palette()).name()));
    name_->setPlaceholderText(qtText(L10n::text<"右键菜单显示名称">()));
    name_->setFont(settingsFont(font(), m::titlePixelSize));
    layout->addLayout(ListRowParts::textColumn(name_, detail_), 1);

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

bool CustomShortcutActionRow::eventFilter(QObject* watched, QEvent* event) {
    // Some styles (Adwaita) give every line edit text margins when they polish or show it; the
    // name has none, whichever style is current.
    const auto type = event->type();
    if (watched == name_ && (type == QEvent::Polish || type == QEvent::StyleChange || type == QEvent::Show)) {
        name_->setTextMargins(0, 0, 0, 0);
    }
    return QWidget::eventFilter(watched, event);
}

void CustomShortcutActionRow::setEntry(const CustomShortcutAction& action) {
    const bool nameChanged = action.name != action_.name;
    action_ = action;
    detail_->setFullText(qtText(action.detailText()));
    if (nameChanged) {
        name_->setText(qtText(action.name));
    }
}

} // namespace quilla
