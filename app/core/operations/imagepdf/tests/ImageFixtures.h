#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace quilla::test {

namespace fs = std::filesystem;

// Tiny inputs made at test time, and independent readers (ImageMagick, poppler) for the outputs.

/// Standard output of a reader tool; empty when it fails.
std::string toolOutput(const std::string& tool, const std::vector<std::string>& arguments);

/// identify's answer for the first frame, by default "WIDTH HEIGHT FORMAT" (e.g. "40 30 PNG").
std::string identify(const fs::path& image, const std::string& format = "%w %h %m");

/// A width × height image whose top-left quadrant is red and the rest white, saved in the format
/// of the path's suffix (libvips options may follow in brackets, e.g. "x.jpg[Q=95]").
fs::path writeMarkedImage(const fs::path& path, int width, int height, const std::string& options = "");

/// Whether the pixel at (x, y) of the (upright) image is mostly red.
bool isRedAt(const fs::path& image, int x, int y);

/// `jpeg` with EXIF (Artist "SecretArtist", the given orientation), XMP ("SecretXMP"), IPTC
/// ("SecretIPTC") and a comment ("SecretComment") inserted after SOI.
std::string withMetadata(const std::string& jpeg, int orientation);

/// One JPEG segment: FF, marker, length, payload.
std::string jpegSegment(unsigned char marker, const std::string& payload);

/// A PNG whose header claims width × height with almost no data (a decompression bomb).
std::string pngClaiming(std::uint32_t width, std::uint32_t height);

/// A PDF whose pages are `widths` points wide and 200 high, each with some text; streams left
/// uncompressed when `compress` is false.
void writePDF(const fs::path& path, const std::vector<int>& widths, bool compress = true);

/// Page widths in points, in page order, read by pdfinfo (empty when it cannot read the file).
std::vector<int> pdfPageWidths(const fs::path& pdf);

/// "W x H" of each page, read by pdfinfo.
std::vector<std::string> pdfPageSizes(const fs::path& pdf);

/// The names in `folder`, sorted.
std::vector<std::string> namesIn(const fs::path& folder);

} // namespace quilla::test
