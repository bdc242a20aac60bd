#pragma once

#include "app/core/lists/CustomDestination.h"
#include "app/core/lists/CustomDestinationKind.h"
#include "shared/catalog/RGBColor.h"

#include <QWidget>

#include <array>
#include <functional>

class QLabel;
class QToolButton;

namespace quilla {

class ElidedLabel;

/// One favourite place or application: icon tile, name, its path (selectable, secondary style),
/// a remove button and a drag handle.
class CustomDestinationRow final : public QWidget {
public:
    CustomDestinationRow(const CustomDestination& destination, CustomDestinationKind kind,
                         std::array<RGBColor, 2> colors, std::function<void()> remove,
                         QWidget* parent = nullptr);

    QLabel* nameLabel() const { return name_; }
    ElidedLabel* pathLabel() const { return path_; }
    QToolButton* removeButton() const { return remove_; }

private:
    QLabel* name_;
    ElidedLabel* path_;
    QToolButton* remove_;
};

} // namespace quilla
