#include "app/settings/components/SettingsSwitch.h"

#include "app/settings/components/SettingsMetrics.h"
#include "app/settings/components/SettingsPalette.h"

#include <QPainter>

namespace quilla {

namespace m = settings_metrics;

SettingsSwitch::SettingsSwitch(QWidget* parent) : QAbstractButton(parent) {
    setCheckable(true);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
    setFixedSize(sizeHint());
    slide_.setDuration(m::switchSlideMilliseconds);
    slide_.setEasingCurve(QEasingCurve::OutCubic);
    connect(&slide_, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        position_ = value.toReal();
        update();
    });
}

QSize SettingsSwitch::sizeHint() const {
    return {m::switchWidth + 4, m::switchHeight + 4};
}

void SettingsSwitch::checkStateSet() {
    // A programmatic change (a store repainting its window) jumps; only the user's slides.
    slide_.stop();
    position_ = isChecked() ? 1.0 : 0.0;
    update();
}

void SettingsSwitch::nextCheckState() {
    QAbstractButton::nextCheckState();
    animateTo(isChecked());
}

bool SettingsSwitch::hitButton(const QPoint& pos) const {
    return rect().contains(pos);
}

void SettingsSwitch::animateTo(bool checked) {
    slide_.stop();
    slide_.setStartValue(position_);
    slide_.setEndValue(checked ? 1.0 : 0.0);
    slide_.start();
}

void SettingsSwitch::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF track(2, 2, m::switchWidth, m::switchHeight);
    const qreal radius = track.height() / 2;
    const QColor on = SettingsPalette::accent(palette());
    const QColor off = SettingsPalette::switchOff(palette());
    QColor fill = position_ >= 0.5 ? on : off;
    if (!isEnabled()) {
        fill.setAlphaF(fill.alphaF() * 0.5F);
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawRoundedRect(track, radius, radius);

    if (hasFocus()) {
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(on, 2));
        painter.drawRoundedRect(track.adjusted(-1, -1, 1, 1), radius + 1, radius + 1);
    }

    const qreal inset = (m::switchHeight - m::switchKnob) / 2.0;
    const qreal travel = m::switchWidth - m::switchKnob - 2 * inset;
    const QRectF knob(track.left() + inset + travel * position_, track.top() + inset, m::switchKnob,
                      m::switchKnob);
    painter.setPen(QPen(QColor(0, 0, 0, 40), 0.5));
    painter.setBrush(Qt::white);
    painter.drawEllipse(knob);
}

} // namespace quilla
