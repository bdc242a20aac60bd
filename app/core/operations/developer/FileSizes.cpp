#include "app/core/operations/developer/FileSizes.h"

#include "app/core/executor/FinderActionExecutionError.h"
#include "app/core/operations/developer/ClipboardLines.h"
#include "shared/L10n.h"

#include <array>
#include <cmath>
#include <cstdio>

namespace quilla {
namespace fs = std::filesystem;

std::string FileSizes::formatted(std::uintmax_t bytes) {
    if (bytes < 1000) {
        return bytes == 1 ? L10n::text<"1 字节">() : L10n::format<"%@ 字节">(std::to_string(bytes));
    }
    static constexpr std::array<const char*, 6> units{"kB", "MB", "GB", "TB", "PB", "EB"};
    double value = static_cast<double>(bytes) / 1000.0;
    std::size_t unit = 0;
    // Round in the unit's own precision first, so 999,999 bytes reads "1.0 MB", not "1000 kB".
    const auto rounded = [&] { return unit == 0 ? std::round(value) : std::round(value * 10.0) / 10.0; };
    while (rounded() >= 1000.0 && unit + 1 < units.size()) {
        value /= 1000.0;
        ++unit;
    }
    char text[32];
    std::snprintf(text, sizeof text, unit == 0 ? "%.0f %s" : "%.1f %s", rounded(), units[unit]);
    return text;
}

std::uintmax_t FileSizes::size(const fs::path& item) {
    const auto status = fs::status(item); // throws for an unreadable item
    if (status.type() == fs::file_type::not_found) {
        throw fs::filesystem_error("stat", item, std::make_error_code(std::errc::no_such_file_or_directory));
    }
    return status.type() == fs::file_type::regular ? fs::file_size(item) : 0;
}

void FileSizes::copy(const ExecutorContext& context, const std::vector<fs::path>& items) {
    if (items.empty()) {
        throw FinderActionExecutionError::noSelection();
    }
    std::vector<std::string> lines;
    for (const auto& item : items) {
        lines.push_back(formatted(size(item)));
    }
    copyLinesToPasteboard(context, lines);
}

} // namespace quilla
