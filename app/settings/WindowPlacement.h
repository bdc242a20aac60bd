#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

namespace quilla {

/// The settings window's size and its place at the top right of the screen.
class WindowPlacement final {
public:
    static constexpr int width = 860;
    static constexpr int height = 560;
    static constexpr int inset = 10;

    /// True when both sides are within one pixel of 860 × 560 (a window the user nudged keeps its size).
    static bool hasRightSize(QSize size);
    /// The top-left corner that puts a frame of `frame` size 10 px inside the top-right corner of
    /// `available`, never beyond its left or top edge (y grows downwards on screen).
    static QPoint topRight(const QRect& available, QSize frame);
};

} // namespace quilla
