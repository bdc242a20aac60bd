#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace quilla {

/// What a "复制名称与路径" child puts on the clipboard; raw values are the case names.
enum class FinderPathCopyFormat : std::uint8_t {
    fullPath,
    fileName,
    parentPath,
    shellPath,
    markdownLink,
    fileNameList
};

inline constexpr std::array<std::string_view, 6> finderPathCopyFormatRawValues{
    "fullPath", "fileName", "parentPath", "shellPath", "markdownLink", "fileNameList",
};
static_assert(finderPathCopyFormatRawValues.size() == std::size_t(FinderPathCopyFormat::fileNameList) + 1);

/// The stable string of a format, e.g. "shellPath".
constexpr std::string_view rawValue(FinderPathCopyFormat value) {
    return finderPathCopyFormatRawValues[static_cast<std::size_t>(value)];
}

} // namespace quilla
