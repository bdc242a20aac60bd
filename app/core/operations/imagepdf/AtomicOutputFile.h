#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace quilla {

/// A new file written under a hidden temporary name in its final folder and renamed into place
/// only when complete, so an interrupted or failed write never leaves a half-written output or a
/// truncated original. The temporary file is removed unless it was committed.
class AtomicOutputFile final {
public:
    /// Creates the temporary file in `folder`; its name ends in `suffix` (".png"), which is what
    /// libvips picks its encoder from. Throws std::filesystem::filesystem_error on failure.
    AtomicOutputFile(const std::filesystem::path& folder, const std::string& suffix);
    ~AtomicOutputFile();
    AtomicOutputFile(const AtomicOutputFile&) = delete;
    AtomicOutputFile& operator=(const AtomicOutputFile&) = delete;

    const std::filesystem::path& path() const { return path_; }
    int descriptor() const { return fd_; }

    /// Appends `bytes` to the temporary file; raises the system's error.
    void write(std::string_view bytes) const;

    /// Moves the finished file to `destination` with the mode a new file gets under the umask,
    /// never replacing an item there: one that exists (even one made a moment ago) raises EEXIST.
    void commitAsNew(const std::filesystem::path& destination);

    /// Moves the finished file to the first free name "B.E", "B 2.E", … in `folder` (never
    /// replacing an item, even one that appeared meanwhile) with the mode a new file gets.
    std::filesystem::path commitAsFreeName(const std::filesystem::path& folder, const std::string& base,
                                           const std::string& extension);

    /// Replaces `original` with the finished file, keeping the original's permission bits and
    /// extended attributes. The data reaches the disk before the rename, so even a power cut
    /// leaves one whole version. A file with several hard links is rewritten in place instead,
    /// so that every name keeps showing the same file.
    void commitReplacing(const std::filesystem::path& original);

private:
    void finish(mode_t mode);
    void rewriteInPlace(const std::filesystem::path& original);

    std::filesystem::path path_;
    int fd_ = -1;
    bool committed_ = false;
};

} // namespace quilla
