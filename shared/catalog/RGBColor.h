#pragma once

namespace quilla {

/// An opaque sRGB colour, each component in 0...1.
struct RGBColor {
    double red = 0;
    double green = 0;
    double blue = 0;

    friend constexpr bool operator==(const RGBColor&, const RGBColor&) = default;
};

} // namespace quilla
