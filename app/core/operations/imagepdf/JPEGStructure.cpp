#include "app/core/operations/imagepdf/JPEGStructure.h"

#include <cstdint>
#include <cstring>

namespace quilla {
namespace {

constexpr unsigned char kSOI = 0xD8;
constexpr unsigned char kEOI = 0xD9;
constexpr unsigned char kSOS = 0xDA;
constexpr unsigned char kAPP0 = 0xE0;
constexpr unsigned char kAPP1 = 0xE1;
constexpr unsigned char kAPP2 = 0xE2;
constexpr unsigned char kAPP14 = 0xEE;
constexpr unsigned char kAPP15 = 0xEF;
constexpr unsigned char kCOM = 0xFE;

unsigned byteAt(std::string_view data, std::size_t at) {
    return static_cast<unsigned char>(data[at]);
}

unsigned bigEndian16(std::string_view data, std::size_t at) {
    return byteAt(data, at) << 8 | byteAt(data, at + 1);
}

bool isStartOfFrame(unsigned char marker) {
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

bool isStandalone(unsigned char marker) {
    return (marker >= 0xD0 && marker <= 0xD7) || marker == 0x01;
}

bool startsWith(std::string_view payload, std::string_view prefix) {
    return payload.substr(0, prefix.size()) == prefix;
}

// A reader of the TIFF structure inside an EXIF segment, in its own byte order.
struct TiffReader {
    std::string_view data;
    bool littleEndian;

    unsigned u16(std::size_t at) const {
        return littleEndian ? byteAt(data, at) | byteAt(data, at + 1) << 8 : bigEndian16(data, at);
    }
    std::uint32_t u32(std::size_t at) const {
        const std::uint32_t a = u16(at), b = u16(at + 2);
        return littleEndian ? (b << 16 | a) : (a << 16 | b);
    }
};

} // namespace

std::optional<JPEGStructure> JPEGStructure::parse(std::string_view bytes) {
    if (bytes.size() < 4 || byteAt(bytes, 0) != 0xFF || byteAt(bytes, 1) != kSOI) {
        return std::nullopt;
    }
    JPEGStructure structure(bytes);
    if (!structure.walk()) {
        return std::nullopt;
    }
    return structure;
}

void JPEGStructure::keep(std::size_t offset, std::size_t length) {
    if (!keptRanges_.empty() && keptRanges_.back().offset + keptRanges_.back().length == offset) {
        keptRanges_.back().length += length;
    } else {
        keptRanges_.push_back({offset, length});
    }
}

bool JPEGStructure::walk() {
    keep(0, 2);
    std::size_t pos = 2;
    while (pos < bytes_.size()) {
        if (byteAt(bytes_, pos) != 0xFF) {
            return false; // not at a marker: damaged
        }
        while (pos < bytes_.size() && byteAt(bytes_, pos) == 0xFF) {
            ++pos; // fill bytes
        }
        if (pos >= bytes_.size()) {
            return false;
        }
        const auto marker = static_cast<unsigned char>(bytes_[pos++]);
        const std::size_t markerStart = pos - 2;
        if (marker == kEOI) {
            keep(markerStart, 2);
            imageLength_ = pos;
            return sawFrame_ && sawScan_;
        }
        if (marker == kSOI || marker == 0x00) {
            return false;
        }
        if (isStandalone(marker)) {
            keep(markerStart, 2);
            continue;
        }
        if (pos + 2 > bytes_.size()) {
            return false;
        }
        const std::size_t length = bigEndian16(bytes_, pos);
        if (length < 2 || pos + length > bytes_.size()) {
            return false;
        }
        const auto payload = bytes_.substr(pos + 2, length - 2);
        readSegment(marker, payload);
        if (keepsSegment(marker, payload)) {
            keep(markerStart, length + 2);
        }
        pos += length;
        if (marker == kSOS) {
            const auto end = endOfEntropyData(pos);
            if (!end) {
                return false;
            }
            keep(pos, *end - pos);
            pos = *end;
        }
    }
    return false; // no EOI: truncated
}

std::optional<std::size_t> JPEGStructure::endOfEntropyData(std::size_t from) const {
    const char* data = bytes_.data();
    std::size_t at = from;
    while (at < bytes_.size()) {
        const void* found = std::memchr(data + at, 0xFF, bytes_.size() - at);
        if (found == nullptr) {
            return std::nullopt;
        }
        const auto ff = static_cast<std::size_t>(static_cast<const char*>(found) - data);
        if (ff + 1 >= bytes_.size()) {
            return std::nullopt;
        }
        const unsigned next = byteAt(bytes_, ff + 1);
        if (next == 0x00 || (next >= 0xD0 && next <= 0xD7)) {
            at = ff + 2; // stuffed byte or restart marker: still inside the scan
            continue;
        }
        return ff;
    }
    return std::nullopt;
}

void JPEGStructure::readSegment(unsigned char marker, std::string_view payload) {
    if (isStartOfFrame(marker) && !sawFrame_ && payload.size() >= 6) {
        sawFrame_ = true;
        frameMarker_ = marker;
        precision_ = static_cast<int>(byteAt(payload, 0));
        height_ = static_cast<int>(bigEndian16(payload, 1));
        width_ = static_cast<int>(bigEndian16(payload, 3));
        components_ = static_cast<int>(byteAt(payload, 5));
    } else if (marker == kSOS) {
        sawScan_ = true;
    } else if (marker == kAPP1 && startsWith(payload, std::string_view("Exif\0\0", 6))) {
        readExifOrientation(payload.substr(6));
    } else if (marker == kAPP14 && startsWith(payload, "Adobe")) {
        adobe_ = true;
    }
}

void JPEGStructure::readExifOrientation(std::string_view tiff) {
    if (tiff.size() < 8 || (tiff.substr(0, 2) != "II" && tiff.substr(0, 2) != "MM")) {
        return;
    }
    const TiffReader reader{tiff, tiff[0] == 'I'};
    const std::size_t ifd = reader.u32(4);
    if (ifd > tiff.size() || tiff.size() - ifd < 2) {
        return;
    }
    const std::size_t count = reader.u16(ifd);
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t entry = ifd + 2 + i * 12;
        if (entry + 12 > tiff.size()) {
            return;
        }
        if (reader.u16(entry) == 0x0112 && reader.u16(entry + 2) == 3) { // Orientation, SHORT
            const int value = static_cast<int>(reader.u16(entry + 8));
            orientation_ = value >= 1 && value <= 8 ? value : 1;
            return;
        }
    }
}

bool JPEGStructure::keepsSegment(unsigned char marker, std::string_view payload) {
    if (marker == kAPP0) {
        // JFIF without an embedded thumbnail (a thumbnail can show what a crop removed).
        return startsWith(payload, std::string_view("JFIF\0", 5)) && payload.size() >= 14 &&
               byteAt(payload, 12) * byteAt(payload, 13) == 0;
    }
    if (marker == kAPP2) {
        return startsWith(payload, std::string_view("ICC_PROFILE\0", 12));
    }
    if (marker == kAPP14) {
        return startsWith(payload, "Adobe");
    }
    return !(marker >= kAPP1 && marker <= kAPP15) && marker != kCOM;
}

bool JPEGStructure::isEmbeddableInPDF() const {
    const bool huffman = frameMarker_ == 0xC0 || frameMarker_ == 0xC1 || frameMarker_ == 0xC2;
    const bool channels = components_ == 1 || components_ == 3 || components_ == 4;
    return huffman && channels && precision_ == 8 && width_ > 0 && height_ > 0;
}

std::string JPEGStructure::withoutMetadata() const {
    std::size_t total = 0;
    for (const auto& range : keptRanges_) {
        total += range.length;
    }
    std::string result;
    result.reserve(total);
    for (const auto& range : keptRanges_) {
        result.append(bytes_.substr(range.offset, range.length));
    }
    return result;
}

} // namespace quilla
