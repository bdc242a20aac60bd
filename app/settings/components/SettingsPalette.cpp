#include "app/settings/components/SettingsPalette.h"

namespace quilla {
namespace {

QColor withAlpha(QColor color, double alpha) {
    color.setAlphaF(static_cast<float>(alpha));
    return color;
}

} // namespace

QColor SettingsPalette::accent(const QPalette& palette) {
    const QColor highlight = palette.color(QPalette::Highlight);
    // Some styles leave the highlight gray; a switch in gray reads as "off".
    if (!highlight.isValid() || highlight.hsvSaturationF() < 0.2F) {
        return QColor(0x35, 0x84, 0xe4);
    }
    return highlight;
}

QColor SettingsPalette::secondaryText(const QPalette& palette) {
    return withAlpha(palette.color(QPalette::WindowText), 0.62);
}

QColor SettingsPalette::border(const QPalette& palette) {
    return withAlpha(palette.color(QPalette::WindowText), 0.12);
}

QColor SettingsPalette::panel(const QPalette& palette) {
    return palette.color(QPalette::Base);
}

QColor SettingsPalette::selection(const QPalette& palette) {
    return withAlpha(accent(palette), isDark(palette) ? 0.25 : 0.15);
}

QColor SettingsPalette::switchOff(const QPalette& palette) {
    return withAlpha(palette.color(QPalette::WindowText), 0.2);
}

QColor SettingsPalette::error(const QPalette& palette) {
    return isDark(palette) ? QColor(0xff, 0x7b, 0x63) : QColor(0xc0, 0x1c, 0x28);
}

bool SettingsPalette::isDark(const QPalette& palette) {
    return palette.color(QPalette::WindowText).lightnessF() > palette.color(QPalette::Window).lightnessF();
}

QColor SettingsPalette::fromRGB(const RGBColor& color) {
    return QColor::fromRgbF(static_cast<float>(color.red), static_cast<float>(color.green),
                            static_cast<float>(color.blue));
}

std::array<RGBColor, 2> SettingsPalette::neutralTile() {
    return {RGBColor{0.56, 0.58, 0.62}, RGBColor{0.39, 0.41, 0.45}};
}

std::array<RGBColor, 2> SettingsPalette::brandTile() {
    return {RGBColor{0.27, 0.56, 0.98}, RGBColor{0.16, 0.36, 0.86}};
}

} // namespace quilla
