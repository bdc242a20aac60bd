#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quilla {

/// The marker structure of a JPEG file, read without decoding any pixel: enough to drop its
/// metadata losslessly and to embed its compressed data in a PDF as it is.
class JPEGStructure final {
public:
    /// Walks every segment and scan from SOI to EOI. Nothing when the data is not a JPEG, a
    /// segment runs past the end, or EOI is missing (a truncated file). The structure views
    /// `bytes`, which must outlive it.
    static std::optional<JPEGStructure> parse(std::string_view bytes);

    int width() const { return width_; }
    int height() const { return height_; }
    int components() const { return components_; }
    int precision() const { return precision_; }
    /// EXIF orientation (1 to 8; 1 when absent or unreadable).
    int orientation() const { return orientation_; }
    /// An Adobe APP14 segment is present (its CMYK data is stored inverted).
    bool hasAdobeMarker() const { return adobe_; }
    /// Baseline, extended or progressive Huffman coding with 8-bit samples: what PDF readers
    /// decode with DCTDecode.
    bool isEmbeddableInPDF() const;
    /// Bytes from SOI through EOI; anything appended after EOI is not part of the image.
    std::size_t imageLength() const { return imageLength_; }

    /// The same image without EXIF, XMP, IPTC/Photoshop, comments, other application segments
    /// and trailing data; JFIF, the ICC colour profile and the Adobe colour-transform segment stay,
    /// and the compressed pixels are copied unchanged.
    std::string withoutMetadata() const;

private:
    explicit JPEGStructure(std::string_view bytes) : bytes_(bytes) {}

    bool walk();
    void readSegment(unsigned char marker, std::string_view payload);
    std::optional<std::size_t> endOfEntropyData(std::size_t from) const;
    void keep(std::size_t offset, std::size_t length);
    void readExifOrientation(std::string_view payload);
    static bool keepsSegment(unsigned char marker, std::string_view payload);

    struct Range {
        std::size_t offset;
        std::size_t length;
    };

    std::string_view bytes_;
    std::vector<Range> keptRanges_; ///< what withoutMetadata copies, in order
    bool sawFrame_ = false;
    bool sawScan_ = false;
    int width_ = 0;
    int height_ = 0;
    int components_ = 0;
    int precision_ = 0;
    int orientation_ = 1;
    unsigned char frameMarker_ = 0;
    bool adobe_ = false;
    std::size_t imageLength_ = 0;
};

} // namespace quilla
