#pragma once

#include "app/core/executor/ExecutorContext.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace quilla {

/// Sizes of selected items as the file manager states them.
class FileSizes final {
public:
    /// Decimal units (1 kB = 1000 bytes): "0 字节", "999 字节", "1 kB", "1.2 MB", "3.0 GB"; whole
    /// kilobytes, one decimal from megabytes up.
    static std::string formatted(std::uintmax_t bytes);

    /// A file's size in bytes (a link counts as what it points to); 0 for a folder or anything
    /// else without a size. A missing item throws std::filesystem::filesystem_error.
    static std::uintmax_t size(const std::filesystem::path& item);

    /// Puts one formatted size per item, without names, on the clipboard; an empty selection is
    /// noSelection.
    static void copy(const ExecutorContext& context, const std::vector<std::filesystem::path>& items);
};

} // namespace quilla
