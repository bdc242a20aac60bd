#pragma once

#include <exception>
#include <filesystem>
#include <memory>

class QPDF;

namespace quilla {

/// Where a page's pixel reader leaves its own error when it fails while the document is being
/// written (the writer reports only that it failed).
using PDFImageFailure = std::shared_ptr<std::exception_ptr>;

/// A PDF page that shows one image, upright, at 72 dpi (one pixel is one point).
class PDFImagePage final {
public:
    /// Adds the page for `item` at the end of `pdf`; false when `item` is not an image at all
    /// (nothing recognises it; folders included). JPEG data is embedded as it is (DCTDecode, its
    /// orientation tag applied by the page's transformation); other images as 8-bit pixels that
    /// the writer compresses losslessly, with transparency as a soft mask. Pixel data is read
    /// only while the document is written, one image at a time. Images over the pixel cap fail
    /// with commandFailed naming the file; damaged ones fail while writing, and their error
    /// (commandFailed naming the file) is left in `failure`.
    static bool append(QPDF& pdf, const std::filesystem::path& item, const PDFImageFailure& failure);
};

} // namespace quilla
