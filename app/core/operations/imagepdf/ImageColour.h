#pragma once

#include <vips/vips8>

namespace quilla {

/// Colour preparations shared by the image tools, each lazy (nothing is decoded until written).
class ImageColour final {
public:
    /// Pixels moved from an embedded ICC profile into sRGB (bit depth kept), so that the colours
    /// stay right once the profile is gone with the other metadata. Images without a profile,
    /// and greyscale ones, come back unchanged.
    static vips::VImage withProfileApplied(const vips::VImage& image);

    /// 8-bit sRGB (or 8-bit grey for grey images), alpha kept: what JPEG and PDF pages hold.
    static vips::VImage eightBitDisplay(const vips::VImage& image);

    /// Transparent parts painted on white, for formats without alpha.
    static vips::VImage flattenedOnWhite(const vips::VImage& image);

    /// Whether the image is a grey (one colour band) image.
    static bool isGrey(const vips::VImage& image);
};

} // namespace quilla
