#pragma once

#include "shared/catalog/RGBColor.h"

#include <QWidget>

#include <array>
#include <string>

class QHBoxLayout;
class QLabel;
class QPushButton;

namespace quilla {

class SettingsIconTile;
class SettingsRowText;
class SettingsSwitch;

/// Icon tile, large title and secondary text at the top of a page.
class DetailHeader final : public QWidget {
    Q_OBJECT

public:
    DetailHeader(std::string systemImage, std::array<RGBColor, 2> colors, const QString& title,
                 const QString& subtitle, QWidget* parent = nullptr);

    SettingsIconTile* tile() const { return tile_; }
    SettingsRowText* text() const { return text_; }

private:
    SettingsIconTile* tile_;
    SettingsRowText* text_;
};

/// Title, secondary text and a switch. The switch's `clicked(bool)` is the user's change;
/// `setChecked` only shows a value.
class SettingsToggleRow final : public QWidget {
    Q_OBJECT

public:
    SettingsToggleRow(const QString& title, const QString& subtitle, QWidget* parent = nullptr);

    SettingsSwitch* switchButton() const { return switch_; }
    SettingsRowText* text() const { return text_; }
    bool isChecked() const;
    void setChecked(bool checked);

Q_SIGNALS:
    /// The user turned the switch.
    void toggled(bool checked);

private:
    SettingsRowText* text_;
    SettingsSwitch* switch_;
};

/// Icon tile, title, secondary text and one button, optionally a second.
class SettingsActionRow final : public QWidget {
    Q_OBJECT

public:
    SettingsActionRow(std::string systemImage, std::array<RGBColor, 2> colors, const QString& title,
                      const QString& subtitle, const QString& buttonTitle, QWidget* parent = nullptr);

    QPushButton* button() const { return button_; }
    /// Adds (once) and answers a second button left of the first.
    QPushButton* addSecondButton(const QString& title);
    SettingsRowText* text() const { return text_; }
    SettingsIconTile* tile() const { return tile_; }

private:
    QHBoxLayout* layout_;
    SettingsIconTile* tile_;
    SettingsRowText* text_;
    QPushButton* button_;
    QPushButton* second_ = nullptr;
};

/// One child action: icon tile, title, summary, switch and a drag handle. A disabled child's
/// row is drawn at 55 % opacity, its switch excepted.
class FeatureChildRow final : public QWidget {
    Q_OBJECT

public:
    FeatureChildRow(std::string actionID, std::string systemImage, std::array<RGBColor, 2> colors,
                    const QString& title, const QString& summary, QWidget* parent = nullptr);

    const std::string& actionID() const { return actionID_; }
    SettingsSwitch* switchButton() const { return switch_; }
    QLabel* dragHandle() const { return handle_; }
    SettingsRowText* text() const { return text_; }
    bool isChecked() const;
    /// Shows the child's state: the switch and the dimming.
    void setChecked(bool checked);
    bool isDimmed() const { return dimmed_; }

Q_SIGNALS:
    void toggled(bool checked);

private:
    void setDimmed(bool dimmed);

    std::string actionID_;
    SettingsIconTile* tile_;
    SettingsRowText* text_;
    SettingsSwitch* switch_;
    QLabel* handle_;
    bool dimmed_ = false;
};

} // namespace quilla
