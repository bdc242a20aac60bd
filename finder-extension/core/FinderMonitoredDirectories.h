#pragma once

#include <filesystem>
#include <set>
#include <string>

namespace quilla {

/// The folders the extension asks to be shown in: the applications folder, the removable-media
/// roots and their folders, the home folder and the user's standard folders, each with its
/// normalised and symlink-resolved forms.
class FinderMonitoredDirectories final {
public:
    /// The watched set, computed now. Listing a media root that fails only drops its entries.
    static std::set<std::string> monitoredDirectoryPaths();

    /// The path itself, its lexically normalised form and, when it resolves, its real path.
    static std::set<std::string> normalizedDirectoryVariants(const std::filesystem::path& path);
};

} // namespace quilla
