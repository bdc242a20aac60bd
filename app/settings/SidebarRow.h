#pragma once

#include "shared/catalog/RGBColor.h"

#include <QWidget>

#include <array>
#include <string>

namespace quilla {

class SettingsRowText;
class SettingsSwitch;

/// One sidebar entry: a 24 px tile, a title (and optional subtitle), optionally a switch. Click,
/// Enter or Space activate it; a selected row is highlighted.
class SidebarRow final : public QWidget {
    Q_OBJECT

public:
    SidebarRow(std::string systemImage, std::array<RGBColor, 2> colors, const QString& title,
               const QString& subtitle, bool withSwitch, QWidget* parent = nullptr);

    SettingsSwitch* switchButton() const { return switch_; }
    SettingsRowText* text() const { return text_; }
    void setSelected(bool selected);
    bool isSelected() const { return selected_; }

Q_SIGNALS:
    /// Clicked, or Enter or Space pressed.
    void activated();
    /// Up (-1) or Down (+1) pressed: the sidebar moves to the neighbouring row.
    void stepRequested(int delta);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    SettingsRowText* text_;
    SettingsSwitch* switch_ = nullptr;
    bool selected_ = false;
    bool pressed_ = false;
};

} // namespace quilla
