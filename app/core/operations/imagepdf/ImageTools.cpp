#include "app/core/operations/imagepdf/ImageTools.h"

#include "app/core/executor/CommandRunner.h"
#include "app/core/executor/ExecutorHelpers.h"
#include "app/core/executor/FinderActionExecutionError.h"
#include "app/core/operations/imagepdf/AtomicOutputFile.h"
#include "app/core/operations/imagepdf/ImageColour.h"
#include "app/core/operations/imagepdf/ImageReader.h"
#include "app/core/operations/imagepdf/ImageToolErrors.h"
#include "app/core/operations/imagepdf/JPEGStructure.h"
#include "app/core/operations/imagepdf/TextCase.h"
#include "app/core/operations/imagepdf/VipsRuntime.h"
#include "app/core/platform/Prompts.h"
#include "shared/FileIO.h"
#include "shared/L10n.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <map>
#include <optional>
#include <unistd.h>

namespace quilla {
namespace {

namespace fs = std::filesystem;
using vips::VImage;

// A JPEG larger than this is not read into memory for the lossless metadata removal; libvips
// streams it instead.
constexpr std::size_t kMaxJPEGBytesInMemory = std::size_t{512} << 20;

fs::path absoluteSource(const fs::path& item) {
    return executor::standardized(fs::absolute(item));
}

bool isJPEGSuffix(const std::string& suffix) {
    return suffix == ".jpg" || suffix == ".jpeg";
}

// JPEG holds 8-bit colour without alpha: deeper images are reduced, transparency goes on white.
// CMYK stays CMYK.
VImage forJPEG(const VImage& image) {
    if (image.interpretation() == VIPS_INTERPRETATION_CMYK && image.format() == VIPS_FORMAT_UCHAR &&
        !image.has_alpha()) {
        return image;
    }
    return ImageColour::flattenedOnWhite(ImageColour::eightBitDisplay(image));
}

// Runs the whole pass (decode, resample, encode) into the temporary file, whose suffix picks
// the encoder.
void writeImage(const VImage& image, const AtomicOutputFile& out, const fs::path& source, const std::string& suffix,
                int jpegQuality, bool strip) {
    auto* options = VImage::option()->set("strip", strip);
    if (isJPEGSuffix(suffix)) {
        options->set("Q", jpegQuality);
    }
    vips_error_clear();
    try {
        image.write_to_file(out.path().c_str(), options);
    } catch (const vips::VError& error) {
        vips_error_clear();
        throw imageProcessingFailed(source, error.what());
    }
    failOnRecordedVipsError(source);
}

// Builds a lazy pipeline; libvips' own errors name the file as a processing failure.
template <typename Build>
VImage pipeline(const fs::path& source, Build build) {
    try {
        return build();
    } catch (const vips::VError& error) {
        vips_error_clear();
        throw imageProcessingFailed(source, error.what());
    }
}

// The encoder suffix that keeps a resized file in its own format.
std::string encoderSuffix(const std::string& loader, const fs::path& file) {
    static const std::map<std::string, std::string> byLoader{
        {"jpegload", ".jpg"}, {"pngload", ".png"}, {"tiffload", ".tif"}, {"webpload", ".webp"}, {"gifload", ".gif"}};
    if (const auto found = byLoader.find(loader); found != byLoader.end()) {
        return found->second;
    }
    const auto extension = asciiLowercase(file.extension().string());
    if (!extension.empty() && vips_foreign_find_save(("x" + extension).c_str()) != nullptr) {
        return extension;
    }
    vips_error_clear();
    throw imageProcessingFailed(file, "libvips cannot write " + loader + " images");
}

void refuseHugeTarget(const ImageSize& size, std::int64_t pages) {
    if (size.width > VIPS_MAX_COORD || size.height > VIPS_MAX_COORD ||
        static_cast<std::uint64_t>(size.width) * static_cast<std::uint64_t>(size.height) *
                static_cast<std::uint64_t>(pages) >
            ImageReader::maxPixels) {
        throw imageTooLarge(std::to_string(size.width) + " × " + std::to_string(size.height),
                            static_cast<std::uint64_t>(size.width), static_cast<std::uint64_t>(size.height));
    }
}

VImage exactThumbnail(const VImage& frame, const ImageSize& size) {
    return frame.thumbnail_image(static_cast<int>(size.width), VImage::option()
                                                                    ->set("height", static_cast<int>(size.height))
                                                                    ->set("size", VIPS_SIZE_FORCE));
}

// Every frame of an animation (or page of a multi-page file) resized alone, so no frame bleeds
// into the next, then stacked again.
VImage resizedFrames(const fs::path& file, const ImageHeader& header, const ImageSize& size) {
    const VImage all = ImageReader::openUpright(file, true, true);
    const int pageHeight = std::max(1, all.get_typeof(VIPS_META_PAGE_HEIGHT) != 0 ? all.get_int(VIPS_META_PAGE_HEIGHT)
                                                                                   : header.height / header.pages);
    std::vector<VImage> frames;
    for (int top = 0; top + pageHeight <= all.height(); top += pageHeight) {
        frames.push_back(exactThumbnail(all.crop(0, top, all.width(), pageHeight), size));
    }
    VImage joined = VImage::arrayjoin(frames, VImage::option()->set("across", 1)).copy();
    joined.set(VIPS_META_PAGE_HEIGHT, static_cast<int>(size.height));
    return joined;
}

VImage resized(const fs::path& file, const ImageHeader& header, const ImageSize& size) {
    if (header.pages > 1) {
        return resizedFrames(file, header, size);
    }
    // Shrink-on-load: JPEG, WebP and HEIF are decoded at a fraction of their size when that is
    // enough, then resampled to the exact size; the orientation tag is applied on the way.
    return VImage::thumbnail(ImageReader::vipsName(file).c_str(), static_cast<int>(size.width),
                             VImage::option()
                                 ->set("height", static_cast<int>(size.height))
                                 ->set("size", VIPS_SIZE_FORCE)
                                 ->set("fail_on", VIPS_FAIL_ON_ERROR));
}

void resizeInPlace(const fs::path& item, const ImageSize& size) {
    const auto header = ImageReader::checkedHeader(item, true);
    refuseHugeTarget(size, header.pages);
    const fs::path file = fs::canonical(item); // through links: the image itself changes
    const auto suffix = encoderSuffix(header.loader, file);
    const VImage image = pipeline(item, [&] {
        const VImage result = resized(file, header, size);
        return isJPEGSuffix(suffix) ? forJPEG(result) : result;
    });
    AtomicOutputFile out(file.parent_path(), suffix);
    writeImage(image, out, item, suffix, ImageTools::defaultJPEGQuality, false);
    out.commitReplacing(file);
}

// The JPEG's own compressed data without its metadata, or nothing when the lossless route does
// not apply (not a well-formed JPEG, too large, or an orientation tag to apply).
std::optional<std::string> losslesslyStrippedJPEG(const fs::path& source) {
    const auto bytes = readFileCapped(source, kMaxJPEGBytesInMemory);
    if (!bytes) {
        return std::nullopt;
    }
    const auto structure = JPEGStructure::parse(*bytes);
    if (!structure || structure->orientation() != 1) {
        return std::nullopt;
    }
    return structure->withoutMetadata();
}

VImage strippedImage(const fs::path& source, const std::string& extension) {
    const bool keepPages = extension == "gif" || extension == "tiff";
    const VImage image = ImageReader::openUpright(source, keepPages);
    return pipeline(source, [&] {
        const VImage colours = ImageColour::withProfileApplied(image);
        if (extension == "jpg") return forJPEG(colours);
        if (extension == "gif") return ImageColour::eightBitDisplay(colours);
        return colours;
    });
}

fs::path writeStripped(const fs::path& source, const std::string& base, const std::string& extension) {
    const fs::path folder = source.parent_path();
    const std::string stripBase = base + " stripped";
    if (extension == "jpg") {
        if (const auto bytes = losslesslyStrippedJPEG(source)) {
            AtomicOutputFile out(folder, "." + extension);
            out.write(*bytes);
            return out.commitAsFreeName(folder, stripBase, extension);
        }
    }
    const VImage image = strippedImage(source, extension);
    AtomicOutputFile out(folder, "." + extension);
    writeImage(image, out, source, "." + extension, ImageTools::defaultJPEGQuality, true);
    return out.commitAsFreeName(folder, stripBase, extension);
}

} // namespace

std::vector<fs::path> ImageTools::convertImages(const ExecutorContext& context, const std::vector<fs::path>& selected,
                                                const ImageConversion& conversion) {
    if (selected.empty()) {
        throw FinderActionExecutionError::noSelection();
    }
    const std::string suffix = "." + conversion.pathExtension;
    std::vector<fs::path> outputs;
    for (const auto& item : selected) {
        const fs::path source = absoluteSource(item);
        const auto [base, extension] = executor::splitLastExtension(source.filename().string());
        const VImage upright = ImageReader::openUpright(source);
        const VImage image = isJPEGSuffix(suffix) ? pipeline(source, [&] { return forJPEG(upright); }) : upright;
        AtomicOutputFile out(source.parent_path(), suffix);
        const std::optional<VipsRuntime::SingleWorkerPass> sequential =
            isJPEGSuffix(suffix) ? std::make_optional<VipsRuntime::SingleWorkerPass>() : std::nullopt;
        writeImage(image, out, source, suffix, conversion.jpegQuality, false);
        outputs.push_back(out.commitAsFreeName(source.parent_path(), base, conversion.pathExtension));
    }
    executor::revealIfWanted(context, context.preferences().revealActionResults, outputs);
    return outputs;
}

std::optional<std::int64_t> ImageTools::parseImageDimension(const std::string& text) {
    const std::string trimmed = trimmedWhitespace(text);
    std::string_view digits = trimmed;
    const bool negative = !digits.empty() && digits.front() == '-';
    if (!digits.empty() && (digits.front() == '+' || digits.front() == '-')) {
        digits.remove_prefix(1);
    }
    if (digits.empty() || !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error != std::errc() || end != digits.data() + digits.size() || negative || value < 1) {
        return std::nullopt;
    }
    return value;
}

std::optional<ImageSize> ImageTools::promptImageSize(const ExecutorContext& context) {
    const auto answer = context.prompts.promptTwoTexts(L10n::text<"调整图片大小">(), L10n::text<"宽度（像素）">(),
                                                       L10n::text<"高度（像素）">(),
                                                       L10n::text<"输入宽度和高度，例如 1024 x 768。">());
    if (!answer) {
        return std::nullopt;
    }
    const auto width = parseImageDimension(answer->first);
    const auto height = parseImageDimension(answer->second);
    if (!width || !height) {
        return std::nullopt;
    }
    return ImageSize{*width, *height};
}

std::vector<fs::path> ImageTools::resizeImages(const ExecutorContext& context, const std::vector<fs::path>& selected) {
    if (selected.empty()) {
        throw FinderActionExecutionError::noSelection();
    }
    const auto size = promptImageSize(context);
    if (!size) {
        return {};
    }
    refuseHugeTarget(*size, 1);
    for (const auto& item : selected) {
        resizeInPlace(absoluteSource(item), *size);
    }
    executor::revealIfWanted(context, context.preferences().revealActionResults, selected);
    return selected;
}

fs::path ImageTools::stripImageMetadata(const ExecutorContext& context, const fs::path& item) {
    const fs::path source = absoluteSource(item);
    const auto [base, extension] = executor::splitLastExtension(source.filename().string());
    try {
        return writeStripped(source, base, imageOutputExtension(extension));
    } catch (const FinderActionExecutionError& error) {
        context.appendDiagnosticLog("strip image metadata failed path=" + source.string() + " error=" + error.what());
        throw FinderActionExecutionError::unsupportedAction("stripImageMetadata");
    }
}

std::string ImageTools::imageOutputExtension(const std::string& sourceExtension) {
    const auto extension = asciiLowercase(sourceExtension);
    if (extension == "jpg" || extension == "jpeg") return "jpg";
    if (extension == "tif" || extension == "tiff") return "tiff";
    if (extension == "gif") return "gif";
    return "png";
}

} // namespace quilla
