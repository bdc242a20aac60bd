#pragma once

#include "shared/catalog/RGBColor.h"

#include <QColor>
#include <QPalette>

#include <array>

namespace quilla {

/// The window's colours, all derived from the widget's palette except the accent and the tiles.
class SettingsPalette final {
public:
    /// The desktop's accent (the palette's highlight), Adwaita blue when the style has none.
    static QColor accent(const QPalette& palette);
    /// Text of lesser weight: subtitles, section titles, drag handles.
    static QColor secondaryText(const QPalette& palette);
    /// The 1 px border of panels and the separators between rows.
    static QColor border(const QPalette& palette);
    /// The panel ("view") background.
    static QColor panel(const QPalette& palette);
    /// The selection highlight of a sidebar row (stronger in dark mode).
    static QColor selection(const QPalette& palette);
    /// An off switch's track.
    static QColor switchOff(const QPalette& palette);
    /// The colour of a failed write's inline message.
    static QColor error(const QPalette& palette);
    /// True when the window text is lighter than its background.
    static bool isDark(const QPalette& palette);

    static QColor fromRGB(const RGBColor& color);
    /// The gray tile used by rows that are not a catalog feature (preferences, actions).
    static std::array<RGBColor, 2> neutralTile();
    /// The blue tile of the brand header and the application's own rows.
    static std::array<RGBColor, 2> brandTile();
};

} // namespace quilla
