#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace quilla {

/// The kinds of file the extension's "新建" children create; raw values are the case names.
enum class FinderFileTemplate : std::uint8_t {
    text,
    rtf,
    markdown,
    wordDocument,
    excelSpreadsheet,
    powerPointPresentation,
    pdfDocument,
    csv,
    json,
    xml,
    yaml,
    pngImage,
    jpegImage,
    swift,
    readme,
    html,
    css,
    javascript,
    python,
    shell,
    gitignore,
};

inline constexpr std::array<std::string_view, 21> finderFileTemplateRawValues{
    "text",
    "rtf",
    "markdown",
    "wordDocument",
    "excelSpreadsheet",
    "powerPointPresentation",
    "pdfDocument",
    "csv",
    "json",
    "xml",
    "yaml",
    "pngImage",
    "jpegImage",
    "swift",
    "readme",
    "html",
    "css",
    "javascript",
    "python",
    "shell",
    "gitignore",
};
static_assert(finderFileTemplateRawValues.size() == std::size_t(FinderFileTemplate::gitignore) + 1);

/// The stable string of a template, e.g. "wordDocument".
constexpr std::string_view rawValue(FinderFileTemplate value) {
    return finderFileTemplateRawValues[static_cast<std::size_t>(value)];
}

} // namespace quilla
