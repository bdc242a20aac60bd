#include "app/core/operations/imagepdf/ImageReader.h"

#include "app/core/operations/copymove/FileTransfer.h"
#include "app/core/operations/imagepdf/ImageToolErrors.h"
#include "app/core/operations/imagepdf/VipsRuntime.h"
#include "shared/L10n.h"

#include <cerrno>
#include <fstream>
#include <map>
#include <set>
#include <string_view>
#include <sys/stat.h>

namespace quilla {
namespace {

using vips::VImage;

struct Opened {
    VImage image;
    ImageHeader header;
};

int orientationOf(const VImage& image) {
    if (image.get_typeof(VIPS_META_ORIENTATION) == 0) {
        return 1;
    }
    const int value = image.get_int(VIPS_META_ORIENTATION);
    return value >= 1 && value <= 8 ? value : 1;
}

int pageCountOf(const VImage& image) {
    return image.get_typeof(VIPS_META_N_PAGES) != 0 ? std::max(1, image.get_int(VIPS_META_N_PAGES)) : 1;
}

// Why no loader took the file: the system's error, not a regular file, or the format (the
// library's own English sentence for that says no more).
std::string unreadableReason(const std::filesystem::path& path) {
    vips_error_clear();
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return systemErrorSentence(errno);
    }
    return S_ISREG(info.st_mode) ? L10n::text<"不是支持的图片格式">() : L10n::text<"不是普通文件">();
}

// Opens lazily (header only) and checks the pixel cap before anything is decoded.
Opened open(const std::filesystem::path& path, bool allPages, VipsAccess access) {
    VipsRuntime::ensureStarted();
    const auto loader = ImageReader::loaderFor(path);
    if (!loader) {
        throw imageReadFailed(path, unreadableReason(path));
    }
    auto* options = VImage::option()->set("access", access)->set("fail_on", VIPS_FAIL_ON_ERROR);
    if (allPages && ImageReader::isMultiPage(*loader)) {
        options->set("n", -1);
    }
    Opened opened;
    try {
        opened.image = VImage::new_from_file(ImageReader::vipsName(path).c_str(), options);
    } catch (const vips::VError& error) {
        vips_error_clear();
        throw imageReadFailed(path, error.what());
    }
    const auto width = static_cast<std::uint64_t>(opened.image.width());
    const auto height = static_cast<std::uint64_t>(opened.image.height());
    if (width * height > ImageReader::maxPixels) {
        throw imageTooLarge(path.string(), width, height);
    }
    opened.header = {*loader, opened.image.width(), opened.image.height(), pageCountOf(opened.image),
                     orientationOf(opened.image)};
    return opened;
}

// A PDF is a document here, never a picture. libvips' PDF plug-in is not loaded (VipsRuntime), so
// the ImageMagick loader would claim the file and fail under the system's policy; the PDF plug-in
// recognised it by the same four bytes.
bool isPDFDocument(const std::filesystem::path& path) {
    char head[4] = {};
    std::ifstream file(path, std::ios::binary);
    return file.read(head, sizeof head) && std::string_view(head, sizeof head) == "%PDF";
}

} // namespace

std::string ImageReader::vipsName(const std::filesystem::path& path) {
    return path.string() + "[]";
}

std::optional<std::string> ImageReader::loaderFor(const std::filesystem::path& path) {
    VipsRuntime::ensureStarted();
    if (!fileops::isRegularFile(path)) {
        return std::nullopt; // a pipe or a device would block the loader forever
    }
    const char* loader = vips_foreign_find_load(vipsName(path).c_str());
    if (loader == nullptr && VipsRuntime::loadPlugins()) {
        vips_error_clear();
        loader = vips_foreign_find_load(vipsName(path).c_str());
    }
    if (loader == nullptr) {
        return std::nullopt;
    }
    // libvips answers with the loader's class name; the operation names are what the rest of
    // this program speaks. Only these loaders count: the others are blocked as untrusted (PDF,
    // SVG, PGM, …) or read data that is no picture (text matrices).
    static const std::map<std::string, std::string, std::less<>> operations{
        {"VipsForeignLoadJpegFile", "jpegload"}, {"VipsForeignLoadPngFile", "pngload"},
        {"VipsForeignLoadTiffFile", "tiffload"}, {"VipsForeignLoadWebpFile", "webpload"},
        {"VipsForeignLoadNsgifFile", "gifload"}, {"VipsForeignLoadHeifFile", "heifload"},
        {"VipsForeignLoadMagickFile", "magickload"}, {"VipsForeignLoadMagick7File", "magickload"}};
    const auto found = operations.find(std::string_view(loader));
    if (found == operations.end() || (found->second == "magickload" && isPDFDocument(path))) {
        return std::nullopt;
    }
    return found->second;
}

bool ImageReader::isMultiPage(const std::string& loader) {
    static const std::set<std::string> multiPage{"gifload", "tiffload", "webpload", "heifload", "magickload"};
    return multiPage.contains(loader);
}

ImageHeader ImageReader::checkedHeader(const std::filesystem::path& path, bool allPages) {
    return open(path, allPages, VIPS_ACCESS_SEQUENTIAL).header;
}

VImage ImageReader::openUpright(const std::filesystem::path& path, bool allPages, bool randomAccess) {
    auto opened = open(path, allPages, randomAccess ? VIPS_ACCESS_RANDOM : VIPS_ACCESS_SEQUENTIAL);
    if (opened.header.orientation == 1) {
        return opened.image;
    }
    // Turning or mirroring needs rows out of order: read once into memory (or a temporary file
    // for very large images), then rotate.
    auto random = randomAccess ? std::move(opened) : open(path, allPages, VIPS_ACCESS_RANDOM);
    try {
        return random.image.autorot();
    } catch (const vips::VError& error) {
        vips_error_clear();
        throw imageReadFailed(path, error.what());
    }
}

} // namespace quilla
