#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

namespace quilla {

/// Finding programs the way a shell does.
class ExecutableSearch final {
public:
    /// The first executable regular file called `name` in the folders of `searchPath` (a PATH
    /// value; empty entries and relative folders are skipped). Nothing when there is none.
    static std::optional<std::filesystem::path> find(std::string_view name, std::string_view searchPath);
    /// The same along this process's PATH (a standard one when PATH is unset).
    static std::optional<std::filesystem::path> find(std::string_view name);
};

} // namespace quilla
