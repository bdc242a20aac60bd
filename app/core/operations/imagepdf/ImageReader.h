#pragma once

#include <vips/vips8>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace quilla {

/// What libvips learns from a file's header, before any pixel is decoded.
struct ImageHeader {
    std::string loader;  ///< libvips' loader ("jpegload", "pngload", …)
    int width = 0;
    int height = 0;      ///< of all pages together when every page was asked for
    int pages = 1;       ///< pages or frames in the file
    int orientation = 1; ///< EXIF orientation, 1 (upright) to 8
};

/// Opens images for the image tools with deliberate limits: the pixel count is checked against
/// `maxPixels` from the header before anything is decoded (a 50,000 × 50,000 PNG is refused at
/// once), truncated or damaged data fails the pass instead of yielding grey rows, and images are
/// read in one top-to-bottom pass where their orientation allows, so memory stays small.
/// Failures are commandFailed errors naming the file (ImageToolErrors.h).
class ImageReader final {
public:
    /// 2^28 pixels (268 megapixels): above the largest camera sensors, far below what would
    /// exhaust memory or take minutes to decode.
    static constexpr std::uint64_t maxPixels = std::uint64_t{1} << 28;

    /// The name to give libvips for `path`: a trailing "[…]" in a file name would otherwise be
    /// read as load options, so an empty option list is always appended.
    static std::string vipsName(const std::filesystem::path& path);

    /// The loader operation ("jpegload", …) that recognises the file, or nothing: not a regular
    /// file (a pipe or a device is never opened), missing, unreadable, or not in a format the
    /// image tools accept (JPEG, PNG, TIFF, WebP, GIF, HEIF, and what ImageMagick reads).
    static std::optional<std::string> loaderFor(const std::filesystem::path& path);

    /// The header, checked against the pixel cap. `allPages` counts every page or frame.
    static ImageHeader checkedHeader(const std::filesystem::path& path, bool allPages = false);

    /// The image, upright (orientation tag applied), ready for one top-to-bottom pass (or any
    /// order with `randomAccess`, which decodes it whole first). `allPages` stacks every page or
    /// frame of multi-page formats (GIF, TIFF, WebP, HEIF) vertically.
    static vips::VImage openUpright(const std::filesystem::path& path, bool allPages = false,
                                    bool randomAccess = false);

    /// Whether `loader` can read several pages or frames.
    static bool isMultiPage(const std::string& loader);
};

} // namespace quilla
