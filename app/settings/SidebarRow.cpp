#include "app/settings/SidebarRow.h"

#include "app/settings/components/SettingsIconTile.h"
#include "app/settings/components/SettingsMetrics.h"
#include "app/settings/components/SettingsPalette.h"
#include "app/settings/components/SettingsRowText.h"
#include "app/settings/components/SettingsSwitch.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

namespace quilla {

namespace m = settings_metrics;

SidebarRow::SidebarRow(std::string systemImage, std::array<RGBColor, 2> colors, const QString& title,
                       const QString& subtitle, bool withSwitch, QWidget* parent)
    : QWidget(parent), text_(new SettingsRowText(title, subtitle, this, m::titlePixelSize, 11)) {
    setMinimumHeight(m::sidebarRowHeight);
    setFocusPolicy(Qt::TabFocus);
    setAccessibleName(title);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(8, 4, 8, 4);
    layout->setSpacing(10);
    layout->addWidget(new SettingsIconTile(std::move(systemImage), colors, m::sidebarTileSize, 14, this), 0,
                      Qt::AlignVCenter);
    layout->addWidget(text_, 1);
    if (withSwitch) {
        switch_ = new SettingsSwitch(this);
        switch_->setAccessibleName(title);
        layout->addWidget(switch_, 0, Qt::AlignVCenter);
    }
}

void SidebarRow::setSelected(bool selected) {
    if (selected != selected_) {
        selected_ = selected;
        update();
    }
}

void SidebarRow::paintEvent(QPaintEvent*) {
    if (!selected_ && !hasFocus()) {
        return;
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    path.addRoundedRect(QRectF(rect()).adjusted(4, 2, -4, -2), 8, 8);
    if (selected_) {
        painter.fillPath(path, SettingsPalette::selection(palette()));
    }
    if (hasFocus()) {
        painter.setPen(QPen(SettingsPalette::accent(palette()), 2));
        painter.drawPath(path);
    }
}

void SidebarRow::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
    event->accept();
}

void SidebarRow::mouseReleaseEvent(QMouseEvent* event) {
    const bool click =
        pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    pressed_ = false;
    if (click) {
        Q_EMIT activated();
    }
}

void SidebarRow::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        Q_EMIT activated();
        return;
    case Qt::Key_Down:
        Q_EMIT stepRequested(1);
        return;
    case Qt::Key_Up:
        Q_EMIT stepRequested(-1);
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

} // namespace quilla
