#include "app/settings/lists/ListRowParts.h"

#include "app/settings/components/SettingsIconTile.h"
#include "app/settings/components/SettingsMetrics.h"
#include "app/settings/components/SettingsPalette.h"
#include "app/settings/components/SettingsRowText.h"
#include "app/settings/components/SymbolIcons.h"
#include "app/settings/lists/ElidedLabel.h"
#include "shared/L10n.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace quilla {

namespace m = settings_metrics;

QHBoxLayout* ListRowParts::rowLayout(QWidget* row, int minimumHeight) {
    row->setMinimumHeight(minimumHeight);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(m::rowPadding, 6, m::rowPadding, 6);
    layout->setSpacing(10);
    return layout;
}

SettingsIconTile* ListRowParts::tile(std::string systemImage, std::array<RGBColor, 2> colors,
                                     QWidget* parent) {
    return new SettingsIconTile(std::move(systemImage), colors, m::rowTileSize, m::rowGlyphSize, parent);
}

QToolButton* ListRowParts::removeButton(QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(removeButtonName));
    button->setAutoRaise(true);
    button->setCursor(Qt::PointingHandCursor);
    button->setIcon(QIcon(SymbolIcons::glyph("minus.circle.fill", m::rowGlyphSize,
                                             SettingsPalette::secondaryText(parent->palette()),
                                             parent->devicePixelRatioF())));
    button->setIconSize(QSize(m::rowGlyphSize, m::rowGlyphSize));
    button->setToolTip(qtText(L10n::text<"删除">()));
    button->setAccessibleName(button->toolTip());
    return button;
}

QLabel* ListRowParts::dragHandle(QWidget* parent) {
    auto* handle = new QLabel(parent);
    handle->setObjectName(QString::fromLatin1(dragHandleName));
    handle->setPixmap(SymbolIcons::glyph("line.3.horizontal", m::rowGlyphSize,
                                         SettingsPalette::secondaryText(parent->palette()),
                                         parent->devicePixelRatioF()));
    handle->setToolTip(qtText(L10n::text<"拖拽调整顺序">()));
    handle->setCursor(Qt::OpenHandCursor);
    return handle;
}

QPushButton* ListRowParts::addButton(std::string_view systemImage, const QString& title, QWidget* parent) {
    auto* button = new QPushButton(title, parent);
    button->setFlat(true);
    button->setCursor(Qt::PointingHandCursor);
    button->setFont(settingsFont(parent->font(), m::sectionTitlePixelSize));
    const QColor accent = SettingsPalette::accent(parent->palette());
    button->setIcon(
        QIcon(SymbolIcons::glyph(systemImage, m::rowGlyphSize, accent, parent->devicePixelRatioF())));
    QPalette colours = button->palette();
    colours.setColor(QPalette::ButtonText, accent);
    button->setPalette(colours);
    return button;
}

namespace {

void makeSecondary(QLabel* label, const QWidget* parent) {
    label->setFont(settingsFont(parent->font(), m::subtitlePixelSize));
    QPalette secondary = label->palette();
    secondary.setColor(QPalette::WindowText, SettingsPalette::secondaryText(parent->palette()));
    label->setPalette(secondary);
}

} // namespace

QLabel* ListRowParts::secondaryLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    makeSecondary(label, parent);
    return label;
}

ElidedLabel* ListRowParts::detailLabel(const QString& text, QWidget* parent) {
    auto* label = new ElidedLabel(parent);
    makeSecondary(label, parent);
    label->setFullText(text);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QLabel* ListRowParts::titleLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setFont(settingsFont(parent->font(), m::titlePixelSize));
    return label;
}

QVBoxLayout* ListRowParts::textColumn(QWidget* title, QWidget* detail) {
    auto* column = new QVBoxLayout;
    column->setSpacing(2);
    column->addStretch();
    column->addWidget(title);
    column->addWidget(detail);
    column->addStretch();
    return column;
}

} // namespace quilla
