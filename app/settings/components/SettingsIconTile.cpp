#include "app/settings/components/SettingsIconTile.h"

#include "app/settings/components/SettingsPalette.h"
#include "app/settings/components/SymbolIcons.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace quilla {

SettingsIconTile::SettingsIconTile(std::string systemImage, std::array<RGBColor, 2> colors, int size,
                                   int symbolSize, QWidget* parent)
    : QWidget(parent), systemImage_(std::move(systemImage)), colors_(colors), size_(size),
      symbolSize_(symbolSize) {
    // Room below the tile for its shadow.
    setFixedSize(size_ + 2, size_ + 3);
    setAttribute(Qt::WA_TranslucentBackground);
}

void SettingsIconTile::setSymbol(std::string systemImage, std::array<RGBColor, 2> colors) {
    systemImage_ = std::move(systemImage);
    colors_ = colors;
    update();
}

QSize SettingsIconTile::sizeHint() const {
    return {size_ + 2, size_ + 3};
}

void SettingsIconTile::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF tile(1, 0.5, size_, size_);
    // Rows use a 28 px tile with radius 7, headers 44 with 11: a quarter of the side.
    const qreal radius = size_ / 4.0;

    QPainterPath shadow;
    shadow.addRoundedRect(tile.translated(0, 1), radius, radius);
    painter.fillPath(shadow, QColor(0, 0, 0, 46));

    QLinearGradient gradient(tile.topLeft(), tile.bottomRight());
    gradient.setColorAt(0, SettingsPalette::fromRGB(colors_[0]));
    gradient.setColorAt(1, SettingsPalette::fromRGB(colors_[1]));
    QPainterPath path;
    path.addRoundedRect(tile, radius, radius);
    painter.fillPath(path, gradient);

    const QPixmap glyph = SymbolIcons::glyph(systemImage_, symbolSize_, Qt::white, devicePixelRatioF());
    const QPointF origin = tile.center() - QPointF(symbolSize_ / 2.0, symbolSize_ / 2.0);
    painter.drawPixmap(origin, glyph);
}

} // namespace quilla
