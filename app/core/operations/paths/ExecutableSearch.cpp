#include "app/core/operations/paths/ExecutableSearch.h"

#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace quilla {

std::optional<std::filesystem::path> ExecutableSearch::find(std::string_view name, std::string_view searchPath) {
    if (name.empty() || name.find('/') != std::string_view::npos) {
        return std::nullopt;
    }
    std::size_t start = 0;
    while (start <= searchPath.size()) {
        const auto end = std::min(searchPath.find(':', start), searchPath.size());
        const std::filesystem::path folder(searchPath.substr(start, end - start));
        start = end + 1;
        if (!folder.is_absolute()) {
            continue;
        }
        const auto candidate = folder / name;
        struct stat info {};
        if (::stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) && ::access(candidate.c_str(), X_OK) == 0) {
            return candidate;
        }
    }
    return std::nullopt;
}

std::optional<std::filesystem::path> ExecutableSearch::find(std::string_view name) {
    const char* path = std::getenv("PATH");
    return find(name, path ? path : "/usr/local/bin:/usr/bin:/bin");
}

} // namespace quilla
