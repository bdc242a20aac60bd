#pragma once

#include "app/core/executor/ExecutorContext.h"

#include <filesystem>
#include <string>
#include <vector>

namespace quilla {

enum class ChecksumAlgorithm { sha256, md5 };

/// Checksums of selected files in the layout of the common checksum tools.
class FileChecksums final {
public:
    /// The lower-case hexadecimal digest of the file's content. The file is read in fixed-size
    /// blocks, so memory stays the same whatever its size. A folder or unreadable item throws
    /// std::filesystem::filesystem_error.
    static std::string digest(const std::filesystem::path& file, ChecksumAlgorithm algorithm);

    /// One line per file, "DIGEST  NAME", in the given order. Several files are hashed on all
    /// cores at once; the first failing file in that order is the error raised.
    static std::vector<std::string> lines(const std::vector<std::filesystem::path>& files, ChecksumAlgorithm algorithm);

    /// Puts the lines, joined by line feeds, on the clipboard; an empty selection is noSelection.
    static void copy(const ExecutorContext& context, const std::vector<std::filesystem::path>& files,
                     ChecksumAlgorithm algorithm);
};

} // namespace quilla
