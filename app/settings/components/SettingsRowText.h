#pragma once

#include "shared/L10n.h"

#include <QWidget>

#include <string>
#include <string_view>

class QLabel;

namespace quilla {

/// A row's title with its secondary text below (hidden when empty), as every row shows them.
class SettingsRowText final : public QWidget {
    Q_OBJECT

public:
    SettingsRowText(const QString& title, const QString& subtitle, QWidget* parent = nullptr,
                    int titlePixelSize = 0, int subtitlePixelSize = 0);

    QLabel* titleLabel() const { return title_; }
    QLabel* subtitleLabel() const { return subtitle_; }
    void setSubtitle(const QString& subtitle);

private:
    QLabel* title_;
    QLabel* subtitle_;
};

/// The font of the window's texts at `pixelSize`, optionally bold or semibold.
QFont settingsFont(const QFont& base, int pixelSize, QFont::Weight weight = QFont::Normal);

/// Converts a UTF-8 text from the catalog or L10n.
QString qtText(const std::string& text);
/// The translated text for the Chinese key.
QString localized(std::string_view key);
/// The translated text for the Chinese key with its "%@" filled.
QString localizedFormat(std::string_view key, const QString& argument);

/// `localized(Key)`, with Key registered as a text in use (so the display tables are checked for it).
template <L10nKey Key> QString localized() {
    return qtText(L10n::text<Key>());
}
/// `localizedFormat(Key, argument)`, with Key registered as a text in use.
template <L10nKey Key> QString localizedFormat(const QString& argument) {
    return qtText(L10n::format<Key>(argument.toStdString()));
}

} // namespace quilla
