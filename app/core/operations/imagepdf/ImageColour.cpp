#include "app/core/operations/imagepdf/ImageColour.h"

#include <vector>

namespace quilla {

using vips::VImage;

bool ImageColour::isGrey(const VImage& image) {
    const auto interpretation = image.interpretation();
    return interpretation == VIPS_INTERPRETATION_B_W || interpretation == VIPS_INTERPRETATION_GREY16 ||
           image.bands() - (image.has_alpha() ? 1 : 0) == 1;
}

VImage ImageColour::withProfileApplied(const VImage& image) {
    if (image.get_typeof(VIPS_META_ICC_NAME) == 0 || isGrey(image)) {
        return image;
    }
    const bool sixteenBit = image.format() == VIPS_FORMAT_USHORT;
    return image.icc_transform("srgb", VImage::option()->set("embedded", true)->set("depth", sixteenBit ? 16 : 8));
}

VImage ImageColour::eightBitDisplay(const VImage& image) {
    VImage result = image.colourspace(isGrey(image) ? VIPS_INTERPRETATION_B_W : VIPS_INTERPRETATION_sRGB);
    if (result.format() != VIPS_FORMAT_UCHAR) {
        // 16-bit samples are scaled down, not clipped.
        result = result.cast(VIPS_FORMAT_UCHAR,
                             VImage::option()->set("shift", result.format() == VIPS_FORMAT_USHORT));
    }
    return result;
}

VImage ImageColour::flattenedOnWhite(const VImage& image) {
    if (!image.has_alpha()) {
        return image;
    }
    const double white = image.format() == VIPS_FORMAT_USHORT ? 65535.0 : 255.0;
    return image.flatten(VImage::option()->set("background", std::vector<double>{white})->set("max_alpha", white));
}

} // namespace quilla
