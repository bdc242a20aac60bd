#include "app/settings/WindowPlacement.h"

#include <algorithm>
#include <cstdlib>

namespace quilla {

bool WindowPlacement::hasRightSize(QSize size) {
    return std::abs(size.width() - width) <= 1 && std::abs(size.height() - height) <= 1;
}

QPoint WindowPlacement::topRight(const QRect& available, QSize frame) {
    const int x =
        std::max(available.left() + inset, available.left() + available.width() - frame.width() - inset);
    // Screen y grows downwards here, so the top edge is the minimum: the window sits 10 below it.
    const int y = available.top() + inset;
    return {x, y};
}

} // namespace quilla
