#include "app/settings/components/SettingsRowText.h"

#include "app/settings/components/SettingsMetrics.h"
#include "app/settings/components/SettingsPalette.h"
#include "shared/L10n.h"

#include <QLabel>
#include <QVBoxLayout>

namespace quilla {

namespace m = settings_metrics;

QFont settingsFont(const QFont& base, int pixelSize, QFont::Weight weight) {
    QFont font(base);
    font.setPixelSize(pixelSize);
    font.setWeight(weight);
    return font;
}

QString qtText(const std::string& text) {
    return QString::fromStdString(text);
}

QString localized(std::string_view key) {
    return qtText(L10n::text(key));
}

QString localizedFormat(std::string_view key, const QString& argument) {
    return qtText(L10n::format(key, argument.toStdString()));
}

SettingsRowText::SettingsRowText(const QString& title, const QString& subtitle, QWidget* parent,
                                 int titlePixelSize, int subtitlePixelSize)
    : QWidget(parent), title_(new QLabel(title, this)), subtitle_(new QLabel(subtitle, this)) {
    title_->setFont(settingsFont(font(), titlePixelSize > 0 ? titlePixelSize : m::titlePixelSize));
    subtitle_->setFont(
        settingsFont(font(), subtitlePixelSize > 0 ? subtitlePixelSize : m::subtitlePixelSize));
    QPalette secondary = subtitle_->palette();
    secondary.setColor(QPalette::WindowText, SettingsPalette::secondaryText(palette()));
    subtitle_->setPalette(secondary);
    subtitle_->setWordWrap(true);
    // Titles wrap too: a longer translation must not widen the sidebar past its column.
    title_->setWordWrap(true);
    subtitle_->setVisible(!subtitle.isEmpty());
    title_->setTextFormat(Qt::PlainText);
    subtitle_->setTextFormat(Qt::PlainText);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(title_);
    layout->addWidget(subtitle_);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
}

void SettingsRowText::setSubtitle(const QString& subtitle) {
    subtitle_->setText(subtitle);
    subtitle_->setVisible(!subtitle.isEmpty());
}

} // namespace quilla
