#pragma once

#include "shared/catalog/RGBColor.h"

#include <QWidget>

#include <array>
#include <string>

namespace quilla {

/// The small square icon of every row and header: the symbol in white on a rounded square
/// filled with a two-colour diagonal gradient, with a light shadow.
class SettingsIconTile final : public QWidget {
    Q_OBJECT

public:
    SettingsIconTile(std::string systemImage, std::array<RGBColor, 2> colors, int size, int symbolSize,
                     QWidget* parent = nullptr);

    const std::string& systemImage() const { return systemImage_; }
    const std::array<RGBColor, 2>& colors() const { return colors_; }
    void setSymbol(std::string systemImage, std::array<RGBColor, 2> colors);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::string systemImage_;
    std::array<RGBColor, 2> colors_;
    int size_;
    int symbolSize_;
};

} // namespace quilla
