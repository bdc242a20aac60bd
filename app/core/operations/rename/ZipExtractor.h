#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace quilla {

namespace fs = std::filesystem;

/// Reads and unpacks ZIP archives (libarchive) without ever writing outside the chosen folder.
class ZipExtractor final {
public:
    /// The entry names of the archive in stored order; nothing when it cannot be read.
    static std::vector<std::string> entryNames(const fs::path& archive);

    /// Refuses, before anything is written, an archive with an entry that is absolute, climbs out
    /// with "..", is a link pointing outside the extracted tree, or lies below a link of the archive:
    /// invalidPath with the entry's name. An unreadable archive raises commandFailed.
    static void checkEntriesStayInside(const fs::path& archive);

    /// Unpacks every entry below `folder` (an existing folder), with the archive library's secure
    /// extraction flags as a second guard. Existing files of the same name are replaced, existing
    /// folders are filled. Failures raise commandFailed with the library's message.
    static void extractInto(const fs::path& archive, const fs::path& folder);
};

} // namespace quilla
