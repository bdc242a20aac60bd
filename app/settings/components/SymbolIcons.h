#pragma once

#include <QColor>
#include <QIcon>
#include <QPixmap>

#include <array>
#include <span>
#include <string_view>

namespace quilla {

/// One symbol name of the catalog or the pages, the freedesktop icon names that stand for it
/// (best first; empty names are skipped) and the name of Quilla's own glyph in the resources.
struct SymbolIconEntry {
    std::string_view symbol;
    std::array<std::string_view, 3> themeNames;
    std::string_view fallback;
};

/// Resolves the symbol names used by the catalog and the settings pages to visible icons: the
/// user's icon theme first, else Quilla's bundled single-colour glyph.
class SymbolIcons final {
public:
    /// Every known symbol, one row each.
    static std::span<const SymbolIconEntry> table();
    /// The row for `symbol`; null for a symbol nobody mapped.
    static const SymbolIconEntry* entry(std::string_view symbol);
    /// The resource path of a bundled glyph (":/quilla/symbols/NAME.svg").
    static QString fallbackPath(std::string_view fallback);
    /// The icon for `symbol`: the first theme icon that exists, else the bundled glyph; an
    /// unknown symbol gets the generic document glyph, never an empty icon.
    static QIcon icon(std::string_view symbol);
    /// The symbol drawn in one colour at `pixelSize` (theme icons are recoloured too, so tiles
    /// look alike whatever the theme's colours).
    static QPixmap glyph(std::string_view symbol, int pixelSize, const QColor& color,
                         qreal devicePixelRatio = 1.0);
};

} // namespace quilla
