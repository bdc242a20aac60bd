#pragma once

#include <cstdint>
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

    /// Refuses, before anything is written (and from one read of the headers), an archive with an
    /// entry that is absolute, climbs out with "..", is a link pointing outside the extracted tree,
    /// or lies below a link of the archive (invalidPath with the entry's name), and one whose
    /// declared contents are larger than the free space of `folder`'s disk ("磁盘空间不足，无法解压：
    /// ARCHIVE"). An unreadable archive raises commandFailed.
    static void checkBeforeExtracting(const fs::path& archive, const fs::path& folder);

    /// The sum of the uncompressed sizes the archive declares for its entries. An unreadable
    /// archive raises commandFailed.
    static std::uint64_t declaredSize(const fs::path& archive);

    /// Unpacks every entry below `folder` (an existing folder), with the archive library's secure
    /// extraction flags as a second guard. Existing files of the same name are replaced, existing
    /// folders are filled. Any failed write (a full disk) fails the extraction; failures raise
    /// commandFailed naming the archive (and the entry), or the system's error for an unreadable one.
    static void extractInto(const fs::path& archive, const fs::path& folder);
};

} // namespace quilla
