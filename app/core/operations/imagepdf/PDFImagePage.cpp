#include "app/core/operations/imagepdf/PDFImagePage.h"

#include "app/core/operations/imagepdf/ImageColour.h"
#include "app/core/operations/imagepdf/ImageReader.h"
#include "app/core/operations/imagepdf/ImageToolErrors.h"
#include "app/core/operations/imagepdf/JPEGStructure.h"
#include "shared/FileIO.h"

#include <qpdf/Pipeline.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>

#include <array>
#include <exception>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <vips/vips8>

namespace quilla {
namespace {

namespace fs = std::filesystem;
using vips::VImage;

// Larger JPEG files are not read whole to be checked; their pixels go in losslessly instead.
constexpr std::size_t kMaxJPEGBytes = std::size_t{256} << 20;

// What the page needs to know about a JPEG that goes in unchanged.
struct EmbeddedJPEG {
    int width = 0;
    int height = 0;
    int components = 0;
    bool adobe = false;
    int orientation = 1;
    std::size_t length = 0;
};

// Records a provider's failure for the caller before the writer swallows its details.
class RecordingProvider : public QPDFObjectHandle::StreamDataProvider {
public:
    explicit RecordingProvider(PDFImageFailure failure) : failure_(std::move(failure)) {}

    void provideStreamData(QPDFObjGen const&, Pipeline* pipeline) final {
        try {
            provide(pipeline);
        } catch (...) {
            *failure_ = std::current_exception();
            throw;
        }
    }

protected:
    virtual void provide(Pipeline* pipeline) = 0;

private:
    PDFImageFailure failure_;
};

// Copies the JPEG's bytes (SOI to EOI) when the document is written.
class JPEGDataProvider final : public RecordingProvider {
public:
    JPEGDataProvider(PDFImageFailure failure, fs::path path, std::size_t length)
        : RecordingProvider(std::move(failure)), path_(std::move(path)), length_(length) {}

private:
    void provide(Pipeline* pipeline) override {
        std::ifstream in(path_, std::ios::binary);
        std::array<char, 1 << 16> buffer{};
        std::size_t left = length_;
        while (left > 0 && in) {
            in.read(buffer.data(), static_cast<std::streamsize>(std::min(left, buffer.size())));
            const auto got = static_cast<std::size_t>(in.gcount());
            pipeline->write(reinterpret_cast<const unsigned char*>(buffer.data()), got);
            left -= got;
        }
        if (left > 0) {
            throw imageReadFailed(path_, "the file changed while the PDF was written");
        }
        pipeline->finish();
    }

    fs::path path_;
    std::size_t length_;
};

// The image as PDF pages hold it: upright, colours in sRGB (or grey), 8 bits.
VImage pagePixels(const fs::path& path) {
    try {
        return ImageColour::eightBitDisplay(ImageColour::withProfileApplied(ImageReader::openUpright(path)));
    } catch (const vips::VError& error) {
        vips_error_clear();
        throw imageProcessingFailed(path, error.what());
    }
}

int colourBands(const VImage& image) {
    return image.bands() - (image.has_alpha() ? 1 : 0);
}

struct SinkTarget {
    Pipeline* pipeline;
    std::exception_ptr failure;
};

int writeRows(VipsRegion* region, VipsRect* area, void* user) {
    auto* target = static_cast<SinkTarget*>(user);
    try {
        const auto rowBytes = static_cast<std::size_t>(area->width) * VIPS_IMAGE_SIZEOF_PEL(region->im);
        for (int y = area->top; y < area->top + area->height; ++y) {
            target->pipeline->write(VIPS_REGION_ADDR(region, area->left, y), rowBytes);
        }
        return 0;
    } catch (...) {
        target->failure = std::current_exception();
        return -1;
    }
}

// Decodes the image again at write time and streams the colour or the alpha samples, row by
// row, into the writer.
class PixelDataProvider final : public RecordingProvider {
public:
    PixelDataProvider(PDFImageFailure failure, fs::path path, bool alpha)
        : RecordingProvider(std::move(failure)), path_(std::move(path)), alpha_(alpha) {}

private:
    void provide(Pipeline* pipeline) override {
        const VImage image = pagePixels(path_);
        const int colours = colourBands(image);
        VImage part;
        try {
            part = alpha_ ? image.extract_band(colours)
                          : (image.has_alpha() ? image.extract_band(0, VImage::option()->set("n", colours)) : image);
        } catch (const vips::VError& error) {
            vips_error_clear();
            throw imageProcessingFailed(path_, error.what());
        }
        SinkTarget target{pipeline, nullptr};
        vips_error_clear();
        const int status = vips_sink_disc(part.get_image(), writeRows, &target);
        if (target.failure) {
            vips_error_clear();
            std::rethrow_exception(target.failure);
        }
        if (status != 0) {
            throw imageProcessingFailed(path_, takeVipsError());
        }
        failOnRecordedVipsError(path_);
        pipeline->finish();
    }

    fs::path path_;
    bool alpha_;
};

std::optional<EmbeddedJPEG> embeddableJPEG(const fs::path& path) {
    const auto bytes = readFileCapped(path, kMaxJPEGBytes);
    if (!bytes) {
        return std::nullopt;
    }
    const auto structure = JPEGStructure::parse(*bytes);
    if (!structure || !structure->isEmbeddableInPDF()) {
        return std::nullopt;
    }
    return EmbeddedJPEG{structure->width(), structure->height(), structure->components(), structure->hasAdobeMarker(),
                        structure->orientation(), structure->imageLength()};
}

QPDFObjectHandle name(const char* text) {
    return QPDFObjectHandle::newName(text);
}

QPDFObjectHandle integer(long long value) {
    return QPDFObjectHandle::newInteger(value);
}

QPDFObjectHandle imageXObject(QPDF& pdf, int width, int height, const char* colourSpace,
                              std::shared_ptr<QPDFObjectHandle::StreamDataProvider> provider, bool dct) {
    QPDFObjectHandle image = pdf.newStream();
    image.replaceStreamData(provider, dct ? name("/DCTDecode") : QPDFObjectHandle::newNull(),
                            QPDFObjectHandle::newNull());
    auto dict = image.getDict();
    dict.replaceKey("/Type", name("/XObject"));
    dict.replaceKey("/Subtype", name("/Image"));
    dict.replaceKey("/Width", integer(width));
    dict.replaceKey("/Height", integer(height));
    dict.replaceKey("/ColorSpace", name(colourSpace));
    dict.replaceKey("/BitsPerComponent", integer(8));
    return image;
}

// The transformation that draws the stored image upright on a page of the displayed size: the
// image space's unit square maps onto the page, turned or mirrored as the EXIF orientation says.
std::string placement(int orientation, long long pageWidth, long long pageHeight) {
    const long long w = pageWidth, h = pageHeight;
    std::array<long long, 6> m{};
    switch (orientation) {
    case 2: m = {-w, 0, 0, h, w, 0}; break;
    case 3: m = {-w, 0, 0, -h, w, h}; break;
    case 4: m = {w, 0, 0, -h, 0, h}; break;
    case 5: m = {0, -h, -w, 0, w, h}; break;
    case 6: m = {0, -h, w, 0, 0, h}; break;
    case 7: m = {0, h, w, 0, 0, 0}; break;
    case 8: m = {0, h, -w, 0, w, 0}; break;
    default: m = {w, 0, 0, h, 0, 0}; break;
    }
    std::ostringstream text;
    text << "q";
    for (const auto value : m) {
        text << ' ' << value;
    }
    text << " cm /Im0 Do Q\n";
    return text.str();
}

void addPage(QPDF& pdf, const QPDFObjectHandle& image, int orientation, long long width, long long height) {
    const bool turned = orientation >= 5;
    const long long pageWidth = turned ? height : width;
    const long long pageHeight = turned ? width : height;
    auto xobjects = QPDFObjectHandle::newDictionary();
    xobjects.replaceKey("/Im0", image);
    auto resources = QPDFObjectHandle::newDictionary();
    resources.replaceKey("/XObject", xobjects);
    auto page = QPDFObjectHandle::newDictionary();
    page.replaceKey("/Type", name("/Page"));
    page.replaceKey("/MediaBox", QPDFObjectHandle::newArray(QPDFObjectHandle::Rectangle(
                                     0, 0, static_cast<double>(pageWidth), static_cast<double>(pageHeight))));
    page.replaceKey("/Resources", resources);
    page.replaceKey("/Contents", pdf.newStream(placement(orientation, pageWidth, pageHeight)));
    QPDFPageDocumentHelper(pdf).addPage(QPDFPageObjectHelper(pdf.makeIndirectObject(page)), false);
}

void appendJPEG(QPDF& pdf, const fs::path& item, const EmbeddedJPEG& jpeg, const PDFImageFailure& failure) {
    const auto pixels = static_cast<std::uint64_t>(jpeg.width) * static_cast<std::uint64_t>(jpeg.height);
    if (pixels > ImageReader::maxPixels) {
        throw imageTooLarge(item.string(), static_cast<std::uint64_t>(jpeg.width), static_cast<std::uint64_t>(jpeg.height));
    }
    const char* space = jpeg.components == 1 ? "/DeviceGray" : jpeg.components == 3 ? "/DeviceRGB" : "/DeviceCMYK";
    auto image = imageXObject(pdf, jpeg.width, jpeg.height, space,
                              std::make_shared<JPEGDataProvider>(failure, item, jpeg.length), true);
    if (jpeg.components == 4 && jpeg.adobe) {
        // Adobe's CMYK JPEGs store inverted samples.
        image.getDict().replaceKey("/Decode", QPDFObjectHandle::parse("[1 0 1 0 1 0 1 0]"));
    }
    addPage(pdf, image, jpeg.orientation, jpeg.width, jpeg.height);
}

void appendPixels(QPDF& pdf, const fs::path& item, const PDFImageFailure& failure) {
    const VImage header = pagePixels(item);
    const int colours = colourBands(header);
    auto image = imageXObject(pdf, header.width(), header.height(), colours == 1 ? "/DeviceGray" : "/DeviceRGB",
                              std::make_shared<PixelDataProvider>(failure, item, false), false);
    if (header.has_alpha()) {
        auto mask = imageXObject(pdf, header.width(), header.height(), "/DeviceGray",
                                 std::make_shared<PixelDataProvider>(failure, item, true), false);
        image.getDict().replaceKey("/SMask", mask);
    }
    addPage(pdf, image, 1, header.width(), header.height());
}

} // namespace

bool PDFImagePage::append(QPDF& pdf, const fs::path& item, const PDFImageFailure& failure) {
    const auto loader = ImageReader::loaderFor(item);
    if (!loader) {
        vips_error_clear();
        return false;
    }
    if (*loader == "jpegload") {
        if (const auto jpeg = embeddableJPEG(item)) {
            appendJPEG(pdf, item, *jpeg, failure);
            return true;
        }
    }
    appendPixels(pdf, item, failure);
    return true;
}

} // namespace quilla
