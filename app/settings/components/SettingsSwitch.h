#pragma once

#include <QAbstractButton>
#include <QVariantAnimation>

namespace quilla {

/// An on/off switch: a painted, checkable button that takes keyboard focus, toggles with Space
/// and slides its knob. `clicked(bool)` means the user changed it; `setChecked` is silent to
/// bindings that listen to `clicked` only.
class SettingsSwitch final : public QAbstractButton {
    Q_OBJECT

public:
    explicit SettingsSwitch(QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void checkStateSet() override;
    void nextCheckState() override;
    bool hitButton(const QPoint& pos) const override;

private:
    void animateTo(bool checked);

    QVariantAnimation slide_;
    qreal position_ = 0; // 0 = off, 1 = on
};

} // namespace quilla
