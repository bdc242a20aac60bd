#include "app/core/operations/imagepdf/ImageToolErrors.h"

#include "app/core/executor/CommandRunner.h"
#include "shared/L10n.h"

#include <vips/vips.h>

namespace quilla {
namespace {

FinderActionExecutionError failure(std::string text, const std::string& detail) {
    if (!detail.empty()) {
        // libvips quotes the name it was given, which carries the "[]" that stops it from reading
        // options out of file names; the user never typed that.
        std::string cleaned = detail;
        for (auto at = cleaned.find("[]\""); at != std::string::npos; at = cleaned.find("[]\"", at)) {
            cleaned.erase(at, 2);
        }
        text += L10n::parenthesized(cleaned);
    }
    return FinderActionExecutionError::commandFailed(text);
}

} // namespace

FinderActionExecutionError imageReadFailed(const std::filesystem::path& path, const std::string& detail) {
    return failure(L10n::format<"无法读取图片：%@">(path.string()), firstLine(detail));
}

FinderActionExecutionError imageProcessingFailed(const std::filesystem::path& path, const std::string& detail) {
    return failure(L10n::format<"图片处理失败：%@">(path.string()), firstLine(detail));
}

FinderActionExecutionError imageTooLarge(const std::string& what, std::uint64_t width, std::uint64_t height) {
    return failure(L10n::format<"图片尺寸过大：%@">(what),
                   std::to_string(width) + " × " + std::to_string(height));
}

void failOnRecordedVipsError(const std::filesystem::path& source) {
    if (*vips_error_buffer() != '\0') {
        throw imageProcessingFailed(source, takeVipsError());
    }
}

std::string takeVipsError() {
    std::string text = vips_error_buffer();
    vips_error_clear();
    return firstLine(text);
}

std::string firstLine(const std::string& message) {
    const auto text = trimmedWhitespace(message);
    return trimmedWhitespace(text.substr(0, text.find('\n')));
}

} // namespace quilla
