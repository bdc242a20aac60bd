#include "app/core/operations/imagepdf/tests/ImageFixtures.h"


#include "app/core/executor/CommandRunner.h"
#include "app/core/operations/imagepdf/VipsRuntime.h"

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFWriter.hh>
#include <vips/vips8>

#include <algorithm>
#include <array>
#include <cmath>
#include <sstream>

namespace quilla::test {
namespace {

using vips::VImage;

std::string bigEndian16(unsigned value) {
    return {static_cast<char>(value >> 8 & 0xFF), static_cast<char>(value & 0xFF)};
}

std::string bigEndian32(std::uint32_t value) {
    return bigEndian16(value >> 16) + bigEndian16(value & 0xFFFF);
}

std::uint32_t crc32(const std::string& data) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char byte : data) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        }
    }
    return ~crc;
}

std::string pngChunk(const std::string& type, const std::string& data) {
    return bigEndian32(static_cast<std::uint32_t>(data.size())) + type + data + bigEndian32(crc32(type + data));
}

std::string exifSegmentPayload(int orientation) {
    const std::string artist("SecretArtist\0", 13);
    std::string tiff = "MM" + bigEndian16(42) + bigEndian32(8);
    tiff += bigEndian16(2);
    tiff += bigEndian16(0x0112) + bigEndian16(3) + bigEndian32(1) + bigEndian16(static_cast<unsigned>(orientation)) +
            bigEndian16(0);
    tiff += bigEndian16(0x013B) + bigEndian16(2) + bigEndian32(static_cast<std::uint32_t>(artist.size())) +
            bigEndian32(38);
    tiff += bigEndian32(0);
    tiff += artist;
    return std::string("Exif\0\0", 6) + tiff;
}

} // namespace

std::string toolOutput(const std::string& tool, const std::vector<std::string>& arguments) {
    try {
        return CommandRunner::runProcessOutput(tool, arguments);
    } catch (const std::exception&) {
        return {};
    }
}

std::string identify(const fs::path& image, const std::string& format) {
    return toolOutput("/usr/bin/identify", {"-format", format, image.string() + "[0]"});
}

fs::path writeMarkedImage(const fs::path& path, int width, int height, const std::string& options) {
    VipsRuntime::ensureStarted();
    const VImage white = (VImage::black(width, height, VImage::option()->set("bands", 3)) + 255).cast(VIPS_FORMAT_UCHAR);
    const VImage red = VImage::black(width / 2, height / 2, VImage::option()->set("bands", 3))
                           .new_from_image(std::vector<double>{255, 0, 0});
    white.insert(red, 0, 0).write_to_file((path.string() + options).c_str());
    return path;
}

bool isRedAt(const fs::path& image, int x, int y) {
    VipsRuntime::ensureStarted();
    const auto pixel = VImage::new_from_file((image.string() + "[]").c_str()).autorot().getpoint(x, y);
    return pixel.size() >= 3 && pixel[0] > 180 && pixel[1] < 80 && pixel[2] < 80;
}

std::string jpegSegment(unsigned char marker, const std::string& payload) {
    return std::string{'\xFF', static_cast<char>(marker)} + bigEndian16(static_cast<unsigned>(payload.size() + 2)) +
           payload;
}

std::string withMetadata(const std::string& jpeg, int orientation) {
    const std::string xmp = std::string("http://ns.adobe.com/xap/1.0/\0", 29) +
                            "<x:xmpmeta xmlns:x='adobe:ns:meta/'><rdf:RDF "
                            "xmlns:rdf='http://www.w3.org/1999/02/22-rdf-syntax-ns#'><rdf:Description "
                            "xmlns:dc='http://purl.org/dc/elements/1.1/'><dc:creator>SecretXMP</dc:creator>"
                            "</rdf:Description></rdf:RDF></x:xmpmeta>";
    const std::string iptcRecord = std::string{'\x1C', '\x02', '\x50'} + bigEndian16(10) + "SecretIPTC";
    const std::string iptc = std::string("Photoshop 3.0\0", 14) + "8BIM" + bigEndian16(0x0404) + std::string(2, '\0') +
                             bigEndian32(static_cast<std::uint32_t>(iptcRecord.size())) + iptcRecord +
                             (iptcRecord.size() % 2 ? std::string(1, '\0') : std::string());
    const std::string inserted = jpegSegment(0xE1, exifSegmentPayload(orientation)) + jpegSegment(0xE1, xmp) +
                                 jpegSegment(0xED, iptc) + jpegSegment(0xFE, "SecretComment");
    return jpeg.substr(0, 2) + inserted + jpeg.substr(2);
}

std::string pngClaiming(std::uint32_t width, std::uint32_t height) {
    const std::string header = bigEndian32(width) + bigEndian32(height) + std::string{8, 2, 0, 0, 0};
    const std::string emptyDeflate("\x78\x9c\x03\x00\x00\x00\x00\x01", 8);
    return std::string("\x89PNG\r\n\x1a\n", 8) + pngChunk("IHDR", header) + pngChunk("IDAT", emptyDeflate) +
           pngChunk("IEND", "");
}

void writePDF(const fs::path& path, const std::vector<int>& widths, bool compress) {
    QPDF pdf;
    pdf.emptyPDF();
    auto font = pdf.makeIndirectObject(QPDFObjectHandle::parse("<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>"));
    QPDFPageDocumentHelper pages(pdf);
    for (const int width : widths) {
        std::string content;
        for (int line = 0; line < 40; ++line) {
            content += "BT /F1 9 Tf 10 " + std::to_string(190 - line * 4) + " Td (Page of width " +
                       std::to_string(width) + ", line " + std::to_string(line) + ") Tj ET\n";
        }
        auto page = QPDFObjectHandle::parse("<< /Type /Page /MediaBox [0 0 " + std::to_string(width) +
                                            " 200] /Resources << /Font << >> >> >>");
        page.getKey("/Resources").getKey("/Font").replaceKey("/F1", font);
        page.replaceKey("/Contents", pdf.newStream(content));
        pages.addPage(QPDFPageObjectHelper(pdf.makeIndirectObject(page)), false);
    }
    QPDFWriter writer(pdf, path.c_str());
    writer.setCompressStreams(compress);
    writer.write();
}

std::vector<std::string> pdfPageSizes(const fs::path& pdf) {
    std::istringstream lines(toolOutput("/usr/bin/pdfinfo", {"-f", "1", "-l", "100000", pdf.string()}));
    std::vector<std::string> sizes;
    std::string line;
    while (std::getline(lines, line)) {
        const auto at = line.find(" size: ");
        if (line.rfind("Page ", 0) == 0 && at != std::string::npos) {
            const auto size = trimmedWhitespace(line.substr(at + 7));
            sizes.push_back(size.substr(0, size.find(" pts")));
        }
    }
    return sizes;
}

std::vector<int> pdfPageWidths(const fs::path& pdf) {
    std::vector<int> widths;
    for (const auto& size : pdfPageSizes(pdf)) {
        widths.push_back(static_cast<int>(std::lround(std::stod(size.substr(0, size.find(" x "))))));
    }
    return widths;
}

std::vector<std::string> namesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace quilla::test

// The HEVC encoder behind libvips' HEIC writer (used here only to make test inputs) keeps a
// buffer it never frees; that is the library's, not a leak of ours.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libx265.so\n";
}
