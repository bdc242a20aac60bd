#pragma once

#include "app/core/operations/rename/ScopedUTF8Locale.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <sys/stat.h>

struct archive;
struct archive_entry;

namespace quilla {

namespace fs = std::filesystem;

/// The archive library's last error number when it is one of the system's (a full disk, a missing
/// file); 0 for its own codes (a damaged archive, a misuse).
int archiveSystemError(archive* a);

/// Writes a ZIP archive entry by entry (libarchive). UTF-8 names are stored and flagged as such,
/// other names as their raw bytes without the flag; symbolic links are stored as links. Data that deflate
/// cannot shrink (photos, videos, other archives) is stored as it is, which keeps big archives fast without
/// making them larger. Failures raise the system's error (a full disk names the archive, an unreadable source
/// the source), or commandFailed naming the archive for the library's own complaints.
class ZipArchiveWriter final {
public:
    /// Writes to `fd`, which stays open and owned by the caller; `shownPath` is the archive's name
    /// in error messages. The output file itself is skipped should it lie inside an added folder.
    ZipArchiveWriter(int fd, fs::path shownPath);
    /// Appends the archive to `memory`.
    explicit ZipArchiveWriter(std::string& memory);
    ~ZipArchiveWriter();
    ZipArchiveWriter(const ZipArchiveWriter&) = delete;
    ZipArchiveWriter& operator=(const ZipArchiveWriter&) = delete;

    /// Adds one file, folder or link as `name`; a folder brings everything below it along
    /// (children in name order, so archives are reproducible).
    void addItem(const std::string& name, const fs::path& source);

    /// Writes the central directory. Without this call the archive is incomplete.
    void finish();

    /// Whether a block of file data looks like something deflate could not shrink.
    static bool looksIncompressible(std::string_view sample);

private:
    void addDirectory(const std::string& name, const fs::path& source, const struct stat& info);
    void addRegularFile(const std::string& name, const fs::path& source, const struct stat& info);
    void addSymbolicLink(const std::string& name, const fs::path& source, const struct stat& info);
    void writeHeader(archive_entry* entry);
    void writeData(const char* data, std::size_t size);
    [[noreturn]] void failWithArchiveError() const;

    ScopedUTF8Locale utf8_; // a writer is used by the thread that made it
    archive* archive_;
    fs::path shownPath_;
    std::string buffer_;
    dev_t outputDevice_ = 0;
    ino_t outputInode_ = 0;
    bool finished_ = false;
};

} // namespace quilla
