#pragma once

#include "app/settings/components/SettingsIconTile.h"
#include "shared/catalog/RGBColor.h"

#include <QString>

#include <array>
#include <string>

class QHBoxLayout;
class QVBoxLayout;
class QLabel;
class QToolButton;
class QPushButton;
class QWidget;

namespace quilla {

class ElidedLabel;

/// The pieces every list-editor row is made of, so the four editors look alike.
class ListRowParts final {
public:
    /// Gives `row` its horizontal layout with the row padding and `minimumHeight`.
    static QHBoxLayout* rowLayout(QWidget* row, int minimumHeight);
    /// The row's icon tile.
    static SettingsIconTile* tile(std::string systemImage, std::array<RGBColor, 2> colors, QWidget* parent);
    /// A flat icon button that removes the row's entry (tooltip "删除").
    static QToolButton* removeButton(QWidget* parent);
    /// The "≡" drag handle with its tooltip "拖拽调整顺序".
    static QLabel* dragHandle(QWidget* parent);
    /// A flat accent button with a symbol, as used under a list to add entries.
    static QPushButton* addButton(std::string_view systemImage, const QString& title, QWidget* parent);
    /// A label in the secondary text style at the subtitle size.
    static QLabel* secondaryLabel(const QString& text, QWidget* parent);
    /// A row's second line (a path, a detail) in the secondary style: one line, shortened in the
    /// middle to fit, selectable with the mouse.
    static ElidedLabel* detailLabel(const QString& text, QWidget* parent);
    /// The row's title above its detail line, as SettingsRowText spaces them.
    static QVBoxLayout* textColumn(QWidget* title, QWidget* detail);
    /// The title of a row at the row title size.
    static QLabel* titleLabel(const QString& text, QWidget* parent);

    static constexpr const char* removeButtonName = "quillaRowRemove";
    static constexpr const char* dragHandleName = "quillaRowDragHandle";
};

} // namespace quilla
