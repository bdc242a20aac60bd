#include "app/settings/components/SettingsRows.h"

#include "app/settings/components/SettingsIconTile.h"
#include "app/settings/components/SettingsMetrics.h"
#include "app/settings/components/SettingsPalette.h"
#include "app/settings/components/SettingsRowText.h"
#include "app/settings/components/SettingsSwitch.h"
#include "app/settings/components/SymbolIcons.h"
#include "shared/L10n.h"

#include <QGraphicsOpacityEffect>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace quilla {

namespace m = settings_metrics;

namespace {

QHBoxLayout* rowLayout(QWidget* row, int minimumHeight) {
    row->setMinimumHeight(minimumHeight);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(m::rowPadding, 6, m::rowPadding, 6);
    layout->setSpacing(m::rowPadding);
    return layout;
}

void setOpacity(QWidget* widget, double opacity) {
    if (opacity >= 1.0) {
        widget->setGraphicsEffect(nullptr);
        return;
    }
    auto* effect = new QGraphicsOpacityEffect(widget);
    effect->setOpacity(opacity);
    widget->setGraphicsEffect(effect);
}

} // namespace

DetailHeader::DetailHeader(std::string systemImage, std::array<RGBColor, 2> colors, const QString& title,
                           const QString& subtitle, QWidget* parent)
    : QWidget(parent), tile_(new SettingsIconTile(std::move(systemImage), colors, m::headerTileSize,
                                                  m::headerGlyphSize, this)),
      text_(new SettingsRowText(title, subtitle, this, m::headerTitlePixelSize, m::sectionTitlePixelSize)) {
    text_->titleLabel()->setFont(settingsFont(font(), m::headerTitlePixelSize, QFont::Bold));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(12);
    layout->addWidget(tile_, 0, Qt::AlignVCenter);
    layout->addWidget(text_, 1);
}

SettingsToggleRow::SettingsToggleRow(const QString& title, const QString& subtitle, QWidget* parent)
    : QWidget(parent), text_(new SettingsRowText(title, subtitle, this)), switch_(new SettingsSwitch(this)) {
    switch_->setAccessibleName(title);
    auto* layout = rowLayout(this, m::rowMinimumHeight);
    layout->addWidget(text_, 1);
    layout->addWidget(switch_, 0, Qt::AlignVCenter);
    connect(switch_, &SettingsSwitch::clicked, this, &SettingsToggleRow::toggled);
}

bool SettingsToggleRow::isChecked() const {
    return switch_->isChecked();
}

void SettingsToggleRow::setChecked(bool checked) {
    switch_->setChecked(checked);
}

SettingsActionRow::SettingsActionRow(std::string systemImage, std::array<RGBColor, 2> colors,
                                     const QString& title, const QString& subtitle,
                                     const QString& buttonTitle, QWidget* parent)
    : QWidget(parent), layout_(rowLayout(this, m::rowMinimumHeight)),
      tile_(new SettingsIconTile(std::move(systemImage), colors, m::rowTileSize, m::rowGlyphSize, this)),
      text_(new SettingsRowText(title, subtitle, this)), button_(new QPushButton(buttonTitle, this)) {
    layout_->addWidget(tile_, 0, Qt::AlignVCenter);
    layout_->addWidget(text_, 1);
    layout_->addWidget(button_, 0, Qt::AlignVCenter);
}

QPushButton* SettingsActionRow::addSecondButton(const QString& title) {
    if (second_ == nullptr) {
        second_ = new QPushButton(title, this);
        layout_->insertWidget(layout_->indexOf(button_), second_, 0, Qt::AlignVCenter);
    }
    return second_;
}

FeatureChildRow::FeatureChildRow(std::string actionID, std::string systemImage,
                                 std::array<RGBColor, 2> colors, const QString& title, const QString& summary,
                                 QWidget* parent)
    : QWidget(parent), actionID_(std::move(actionID)),
      tile_(new SettingsIconTile(std::move(systemImage), colors, m::rowTileSize, m::rowGlyphSize, this)),
      text_(new SettingsRowText(title, summary, this)), switch_(new SettingsSwitch(this)),
      handle_(new QLabel(this)) {
    switch_->setAccessibleName(title);
    handle_->setPixmap(SymbolIcons::glyph("line.3.horizontal", 16, SettingsPalette::secondaryText(palette()),
                                          devicePixelRatioF()));
    handle_->setToolTip(qtText(L10n::text<"拖拽调整顺序">()));
    handle_->setCursor(Qt::OpenHandCursor);
    handle_->setFixedSize(20, 20);
    handle_->setAlignment(Qt::AlignCenter);

    auto* layout = rowLayout(this, m::childRowHeight);
    layout->addWidget(tile_, 0, Qt::AlignVCenter);
    layout->addWidget(text_, 1);
    layout->addWidget(switch_, 0, Qt::AlignVCenter);
    layout->addWidget(handle_, 0, Qt::AlignVCenter);
    connect(switch_, &SettingsSwitch::clicked, this, [this](bool checked) {
        setDimmed(!checked);
        Q_EMIT toggled(checked);
    });
}

bool FeatureChildRow::isChecked() const {
    return switch_->isChecked();
}

void FeatureChildRow::setChecked(bool checked) {
    switch_->setChecked(checked);
    setDimmed(!checked);
}

void FeatureChildRow::setDimmed(bool dimmed) {
    if (dimmed == dimmed_) {
        return;
    }
    dimmed_ = dimmed;
    const double opacity = dimmed ? m::disabledRowOpacity : 1.0;
    for (QWidget* part :
         {static_cast<QWidget*>(tile_), static_cast<QWidget*>(text_), static_cast<QWidget*>(handle_)}) {
        setOpacity(part, opacity);
    }
}

} // namespace quilla
