#include "app/settings/components/SymbolIcons.h"

#include <QFile>
#include <QHash>
#include <QPainter>
#include <QSvgRenderer>

#include <algorithm>

// The glyphs are compiled into this static library and nothing refers to them by symbol, so the
// linker would leave them out unless registered explicitly (outside any namespace, as Qt needs).
static void registerSymbolGlyphs() {
    Q_INIT_RESOURCE(symbols);
}

namespace quilla {
namespace {

// clang-format off
constexpr std::array kTable{
    // The catalog's features and children.
    SymbolIconEntry{"app", {"application-x-executable-symbolic", "applications-system-symbolic", "system-run-symbolic"}, "app"},
    SymbolIconEntry{"app.badge", {"application-x-executable-symbolic", "view-app-grid-symbolic", "applications-system-symbolic"}, "app"},
    SymbolIconEntry{"archivebox", {"package-x-generic-symbolic", "drawer-symbolic", ""}, "archive"},
    SymbolIconEntry{"arrow.down.circle", {"folder-download-symbolic", "go-down-symbolic", ""}, "download"},
    SymbolIconEntry{"arrow.down.doc", {"document-save-symbolic", "go-down-symbolic", ""}, "download"},
    SymbolIconEntry{"arrow.down.right.and.arrow.up.left", {"view-restore-symbolic", "zoom-out-symbolic", ""}, "arrows-collapse"},
    SymbolIconEntry{"arrow.up.left.and.arrow.down.right", {"view-fullscreen-symbolic", "zoom-in-symbolic", ""}, "arrows-expand"},
    SymbolIconEntry{"book", {"accessories-dictionary-symbolic", "x-office-address-book-symbolic", ""}, "book"},
    SymbolIconEntry{"calendar", {"x-office-calendar-symbolic", "appointment-new-symbolic", ""}, "calendar"},
    SymbolIconEntry{"calendar.badge.clock", {"appointment-soon-symbolic", "x-office-calendar-symbolic", "alarm-symbolic"}, "calendar"},
    SymbolIconEntry{"chevron.left.forwardslash.chevron.right", {"text-html-symbolic", "applications-engineering-symbolic", ""}, "code"},
    SymbolIconEntry{"clock", {"document-open-recent-symbolic", "alarm-symbolic", ""}, "clock"},
    SymbolIconEntry{"curlybraces", {"text-x-script-symbolic", "applications-engineering-symbolic", ""}, "code"},
    SymbolIconEntry{"curlybraces.square", {"text-x-script-symbolic", "applications-engineering-symbolic", ""}, "code"},
    SymbolIconEntry{"desktopcomputer", {"user-desktop-symbolic", "computer-symbolic", ""}, "desktop"},
    SymbolIconEntry{"doc.badge.plus", {"document-new-symbolic", "list-add-symbolic", ""}, "doc-plus"},
    SymbolIconEntry{"doc.on.clipboard", {"edit-paste-symbolic", "edit-copy-symbolic", ""}, "clipboard"},
    SymbolIconEntry{"doc.on.doc", {"edit-copy-symbolic", "", ""}, "copy"},
    SymbolIconEntry{"doc.plaintext", {"text-x-generic-symbolic", "accessories-text-editor-symbolic", ""}, "doc"},
    SymbolIconEntry{"doc.richtext", {"x-office-document-symbolic", "text-x-generic-symbolic", ""}, "doc"},
    SymbolIconEntry{"doc.text", {"x-office-document-symbolic", "text-x-generic-symbolic", ""}, "doc"},
    SymbolIconEntry{"doc.text.magnifyingglass", {"edit-find-symbolic", "system-search-symbolic", ""}, "search"},
    SymbolIconEntry{"externaldrive", {"drive-harddisk-symbolic", "media-removable-symbolic", ""}, "drive"},
    SymbolIconEntry{"eye.slash", {"view-conceal-symbolic", "", ""}, "eye-slash"},
    SymbolIconEntry{"folder", {"folder-symbolic", "folder-open-symbolic", ""}, "folder"},
    SymbolIconEntry{"folder.badge.gearshape", {"folder-templates-symbolic", "folder-symbolic", ""}, "folder"},
    SymbolIconEntry{"folder.badge.plus", {"folder-new-symbolic", "folder-symbolic", ""}, "folder-plus"},
    SymbolIconEntry{"globe", {"web-browser-symbolic", "network-workgroup-symbolic", ""}, "globe"},
    SymbolIconEntry{"house", {"user-home-symbolic", "go-home-symbolic", ""}, "house"},
    SymbolIconEntry{"link", {"insert-link-symbolic", "", ""}, "link"},
    SymbolIconEntry{"link.circle", {"insert-link-symbolic", "", ""}, "link"},
    SymbolIconEntry{"list.bullet.rectangle", {"view-list-bullet-symbolic", "view-list-symbolic", ""}, "list"},
    SymbolIconEntry{"list.number", {"view-list-ordered-symbolic", "view-list-symbolic", ""}, "list"},
    SymbolIconEntry{"number", {"accessories-calculator-symbolic", "", ""}, "number"},
    SymbolIconEntry{"number.circle", {"accessories-calculator-symbolic", "", ""}, "number"},
    SymbolIconEntry{"paintbrush", {"applications-graphics-symbolic", "color-select-symbolic", ""}, "paint"},
    SymbolIconEntry{"photo", {"image-x-generic-symbolic", "camera-photo-symbolic", ""}, "photo"},
    SymbolIconEntry{"photo.on.rectangle", {"image-x-generic-symbolic", "applications-graphics-symbolic", ""}, "photo"},
    SymbolIconEntry{"point.3.connected.trianglepath.dotted", {"network-workgroup-symbolic", "emblem-shared-symbolic", ""}, "link"},
    SymbolIconEntry{"rectangle.grid.2x2", {"view-grid-symbolic", "view-app-grid-symbolic", ""}, "grid"},
    SymbolIconEntry{"rectangle.on.rectangle", {"x-office-presentation-symbolic", "view-dual-symbolic", ""}, "copy"},
    SymbolIconEntry{"sparkles", {"starred-symbolic", "emoji-symbols-symbolic", ""}, "sparkles"},
    SymbolIconEntry{"square.split.2x1", {"view-dual-symbolic", "object-flip-horizontal-symbolic", ""}, "split"},
    SymbolIconEntry{"swift", {"text-x-script-symbolic", "applications-engineering-symbolic", ""}, "code"},
    SymbolIconEntry{"tablecells", {"x-office-spreadsheet-symbolic", "view-grid-symbolic", ""}, "grid"},
    SymbolIconEntry{"terminal", {"utilities-terminal-symbolic", "", ""}, "terminal"},
    SymbolIconEntry{"text.append", {"format-justify-left-symbolic", "insert-text-symbolic", ""}, "text"},
    SymbolIconEntry{"text.cursor", {"insert-text-symbolic", "document-edit-symbolic", ""}, "text"},
    SymbolIconEntry{"text.insert", {"insert-text-symbolic", "", ""}, "text"},
    SymbolIconEntry{"text.magnifyingglass", {"edit-find-replace-symbolic", "edit-find-symbolic", ""}, "search"},
    SymbolIconEntry{"textformat", {"font-x-generic-symbolic", "format-text-bold-symbolic", ""}, "textformat"},
    SymbolIconEntry{"textformat.size.larger", {"zoom-in-symbolic", "font-x-generic-symbolic", ""}, "textformat"},
    SymbolIconEntry{"textformat.size.smaller", {"zoom-out-symbolic", "font-x-generic-symbolic", ""}, "textformat"},
    SymbolIconEntry{"tray.and.arrow.down", {"mail-inbox-symbolic", "document-save-symbolic", ""}, "tray-down"},
    // The settings pages' own rows.
    SymbolIconEntry{"cursorarrow.click.2", {"input-mouse-symbolic", "", ""}, "cursor"},
    SymbolIconEntry{"contextualmenu.and.cursorarrow", {"open-menu-symbolic", "view-more-symbolic", ""}, "menu"},
    SymbolIconEntry{"gearshape.fill", {"emblem-system-symbolic", "preferences-system-symbolic", "applications-system-symbolic"}, "gear"},
    SymbolIconEntry{"gearshape.2.fill", {"preferences-system-symbolic", "applications-system-symbolic", "emblem-system-symbolic"}, "gear"},
    SymbolIconEntry{"arrow.triangle.2.circlepath", {"software-update-available-symbolic", "emblem-synchronizing-symbolic", "view-refresh-symbolic"}, "refresh"},
    SymbolIconEntry{"arrow.clockwise.circle.fill", {"view-refresh-symbolic", "system-reboot-symbolic", ""}, "refresh"},
    SymbolIconEntry{"plus.bubble", {"chat-message-new-symbolic", "mail-message-new-symbolic", ""}, "bubble"},
    SymbolIconEntry{"line.3.horizontal", {"list-drag-handle-symbolic", "open-menu-symbolic", ""}, "handle"},
    SymbolIconEntry{"checklist.checked", {"object-select-symbolic", "checkbox-checked-symbolic", ""}, "checklist"},
    SymbolIconEntry{"puzzlepiece.fill", {"application-x-addon-symbolic", "", ""}, "puzzle"},
    SymbolIconEntry{"folder.fill", {"folder-symbolic", "", ""}, "folder"},
    SymbolIconEntry{"plus", {"list-add-symbolic", "", ""}, "plus"},
    SymbolIconEntry{"minus", {"list-remove-symbolic", "", ""}, "minus"},
    SymbolIconEntry{"trash", {"user-trash-symbolic", "edit-delete-symbolic", ""}, "trash"},
    SymbolIconEntry{"info.circle", {"dialog-information-symbolic", "", ""}, "info"},
    // The list editors' symbols.
    SymbolIconEntry{"minus.circle.fill", {"list-remove-symbolic", "edit-delete-symbolic", ""}, "minus"},
    SymbolIconEntry{"wand.and.stars", {"applications-science-symbolic", "system-run-symbolic", ""}, "sparkles"},
    SymbolIconEntry{"clock.badge.xmark", {"alarm-symbolic", "document-open-recent-symbolic", ""}, "clock"},
    SymbolIconEntry{"checkmark.circle.fill", {"emblem-ok-symbolic", "object-select-symbolic", ""}, "checklist"},
};
// clang-format on

constexpr std::string_view kUnknownFallback = "doc";

QString qString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QIcon themeIcon(const SymbolIconEntry& entry) {
    for (const auto name : entry.themeNames) {
        if (!name.empty() && QIcon::hasThemeIcon(qString(name))) {
            return QIcon::fromTheme(qString(name));
        }
    }
    return {};
}

QPixmap renderFallback(std::string_view fallback, int devicePixels) {
    QPixmap pixmap(devicePixels, devicePixels);
    pixmap.fill(Qt::transparent);
    QSvgRenderer renderer(SymbolIcons::fallbackPath(fallback));
    QPainter painter(&pixmap);
    renderer.render(&painter);
    return pixmap;
}

QPixmap tinted(QPixmap pixmap, const QColor& color) {
    QPainter painter(&pixmap);
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(pixmap.rect(), color);
    return pixmap;
}

} // namespace

std::span<const SymbolIconEntry> SymbolIcons::table() {
    return kTable;
}

const SymbolIconEntry* SymbolIcons::entry(std::string_view symbol) {
    const auto it =
        std::find_if(kTable.begin(), kTable.end(), [&](const auto& e) { return e.symbol == symbol; });
    return it == kTable.end() ? nullptr : &*it;
}

QString SymbolIcons::fallbackPath(std::string_view fallback) {
    static const bool registered = (registerSymbolGlyphs(), true);
    (void)registered;
    return QStringLiteral(":/quilla/symbols/%1.svg").arg(qString(fallback));
}

QIcon SymbolIcons::icon(std::string_view symbol) {
    const SymbolIconEntry* row = entry(symbol);
    if (row != nullptr) {
        QIcon icon = themeIcon(*row);
        if (!icon.isNull()) {
            return icon;
        }
    }
    return QIcon(fallbackPath(row != nullptr ? row->fallback : kUnknownFallback));
}

QPixmap SymbolIcons::glyph(std::string_view symbol, int pixelSize, const QColor& color,
                           qreal devicePixelRatio) {
    const int devicePixels = std::max(1, qRound(pixelSize * devicePixelRatio));
    // Tiles repaint often (hover, page changes); one rendering per symbol, size and colour.
    static QHash<QString, QPixmap> cache;
    const QString key = QStringLiteral("%1|%2|%3").arg(qString(symbol)).arg(devicePixels).arg(color.rgba());
    if (const auto it = cache.constFind(key); it != cache.constEnd()) {
        return *it;
    }
    const SymbolIconEntry* row = entry(symbol);
    QIcon icon = row != nullptr ? themeIcon(*row) : QIcon();
    QPixmap base = icon.isNull()
                       ? renderFallback(row != nullptr ? row->fallback : kUnknownFallback, devicePixels)
                       : icon.pixmap(QSize(devicePixels, devicePixels));
    if (base.size() != QSize(devicePixels, devicePixels)) {
        base = base.scaled(devicePixels, devicePixels, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }
    QPixmap result = tinted(base, color);
    result.setDevicePixelRatio(devicePixelRatio);
    cache.insert(key, result);
    return result;
}

} // namespace quilla
