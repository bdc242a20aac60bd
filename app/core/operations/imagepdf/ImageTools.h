#pragma once

#include "app/core/executor/ExecutorContext.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace quilla {

/// What one conversion action writes.
struct ImageConversion {
    std::string format;        ///< "jpeg", "png" or "tiff"
    std::string pathExtension; ///< "jpg", "png" or "tiff"
    int jpegQuality = 90;      ///< used when writing JPEG
};

/// A width and height in pixels, both at least 1.
struct ImageSize {
    std::int64_t width = 0;
    std::int64_t height = 0;
    bool operator==(const ImageSize&) const = default;
};

/// The image tools: conversion, in-place resizing and metadata removal, all with libvips.
/// Every new file is written completely under a temporary name and then given the first free
/// name next to its source, so a failure never leaves a partial output behind.
class ImageTools final {
public:
    static constexpr int defaultJPEGQuality = 90;
    static constexpr int compressedJPEGQuality = 70;

    /// Converts each item (upright, whatever its type) to `conversion` next to it under the free
    /// name "NAME.EXT"; stops at the first failure (commandFailed naming the file). noSelection
    /// when empty. Reveals the outputs when wanted; gives them in order.
    static std::vector<std::filesystem::path> convertImages(const ExecutorContext& context,
                                                            const std::vector<std::filesystem::path>& selected,
                                                            const ImageConversion& conversion);

    /// Asks for a width and a height; nothing when cancelled or when either is not a whole
    /// number of at least 1.
    static std::optional<ImageSize> promptImageSize(const ExecutorContext& context);

    /// One field of the size dialog: trimmed, then a decimal integer with an optional sign, at
    /// least 1; nothing otherwise.
    static std::optional<std::int64_t> parseImageDimension(const std::string& text);

    /// Asks for the size, then resamples every item in place to exactly that width and height
    /// (aspect not kept; upright; same format), through a temporary file and a rename. An empty
    /// list when the dialog gave no size. noSelection when empty.
    static std::vector<std::filesystem::path> resizeImages(const ExecutorContext& context,
                                                           const std::vector<std::filesystem::path>& selected);

    /// Writes a copy of `item` without EXIF, XMP and IPTC as "NAME stripped.EXT" beside it (EXT by
    /// imageOutputExtension) and gives its path. JPEG pixels are copied without re-encoding unless
    /// an orientation tag has to be applied. unsupportedAction("stripImageMetadata") when the
    /// item cannot be read or encoded; the reason goes to the diagnostic log.
    static std::filesystem::path stripImageMetadata(const ExecutorContext& context, const std::filesystem::path& item);

    /// The output extension for a source extension (any case): "jpg", "tiff", "gif", else "png".
    static std::string imageOutputExtension(const std::string& sourceExtension);
};

} // namespace quilla
