#include "app/core/operations/rename/ZipExtractor.h"

#include "app/core/executor/FinderActionExecutionError.h"
#include "app/core/operations/rename/ScopedUTF8Locale.h"
#include "app/core/operations/rename/ZipArchiveWriter.h"
#include "shared/L10n.h"

#include <archive.h>
#include <archive_entry.h>
#include <cerrno>
#include <exception>
#include <functional>
#include <memory>
#include <sched.h>
#include <set>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <thread>
#include <unistd.h>

namespace quilla {
namespace {

/// Small enough that each piece stays in cache from the read through the check sum to the write.
constexpr std::size_t kReadBlock = std::size_t{64} << 10;

using ArchivePointer = std::unique_ptr<archive, int (*)(archive*)>;

/// Reading the archive failed: the system's error with the archive's path, or a damaged archive.
[[noreturn]] void failReading(archive* reader, const fs::path& archivePath) {
    if (const int error = archiveSystemError(reader)) {
        throw fs::filesystem_error("cannot read archive", archivePath,
                                   std::error_code(error, std::generic_category()));
    }
    throw FinderActionExecutionError::commandFailed(
        L10n::format<"压缩文件已损坏或不是 ZIP 格式：%@">(archivePath.string()));
}

FinderActionExecutionError diskFull(const fs::path& archivePath) {
    return FinderActionExecutionError::commandFailed(
        L10n::format<"磁盘空间不足，无法解压：%@">(archivePath.string()));
}

/// Writing `entryName` out of the archive failed.
[[noreturn]] void failWriting(archive* writer, const fs::path& archivePath, const std::string& entryName) {
    const int error = archiveSystemError(writer);
    if (error == ENOSPC || error == EDQUOT)
        throw diskFull(archivePath);
    const std::string detail = error != 0 ? systemErrorSentence(error) + L10n::labelled(entryName) : entryName;
    throw FinderActionExecutionError::commandFailed(L10n::format<"无法解压：%@">(archivePath.string()) +
                                                    L10n::parenthesized(detail));
}

/// Callers hold a ScopedUTF8Locale for as long as they read names. Only regular files are read:
/// a pipe named like an archive would block the reader (and every later action) forever.
ArchivePointer openForReading(const fs::path& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
        throw FinderActionExecutionError::commandFailed(L10n::format<"不是普通文件：%@">(path.string()));
    }
    ArchivePointer reader(archive_read_new(), archive_read_free);
    archive_read_support_format_zip(reader.get());
    if (archive_read_open_filename(reader.get(), path.c_str(), kReadBlock) != ARCHIVE_OK)
        failReading(reader.get(), path);
    return reader;
}

/// Calls `visit` for each entry header; a damaged archive raises commandFailed.
void forEachEntry(archive* reader, const fs::path& archivePath,
                  const std::function<void(archive_entry*)>& visit) {
    archive_entry* entry = nullptr;
    for (;;) {
        const int status = archive_read_next_header(reader, &entry);
        if (status == ARCHIVE_EOF)
            return;
        if (status < ARCHIVE_WARN)
            failReading(reader, archivePath); // a name the locale cannot show is only a warning
        visit(entry);
    }
}

/// The entry's name without a trailing slash, as the bytes the file system will get.
std::string entryName(archive_entry* entry) {
    const char* name = archive_entry_pathname(entry);
    std::string text = name ? name : "";
    while (text.size() > 1 && text.back() == '/') text.pop_back();
    return text;
}

bool hasParentStep(const fs::path& path) {
    for (const auto& part : path) {
        if (part == "..") return true;
    }
    return false;
}

/// Whether a relative path stays below the extraction folder once "." and ".." are applied
/// (the folder itself counts as inside).
bool staysInside(const fs::path& relative) {
    if (relative.is_absolute()) return false;
    int depth = 0;
    for (const auto& part : relative) {
        if (part == "..") {
            if (--depth < 0) return false;
        } else if (!part.empty() && part != ".") {
            ++depth;
        }
    }
    return true;
}

bool belowAnyLink(const fs::path& name, const std::set<fs::path>& links) {
    for (auto parent = name.parent_path(); !parent.empty() && parent != name; parent = parent.parent_path()) {
        if (links.count(parent)) return true;
    }
    return false;
}

/// A plain relative name: not empty, not absolute, no ".." step anywhere.
bool isPlainRelative(const fs::path& name) { return !name.empty() && !name.is_absolute() && !hasParentStep(name); }

/// Whether following `target` from the link's folder passes through another link of the archive
/// and then climbs: the only way a chain of relative links could leave the folder.
bool climbsThroughLink(const fs::path& linkName, const fs::path& target, const std::set<fs::path>& links) {
    if (!hasParentStep(target)) return false;
    fs::path walked;
    for (const auto& part : linkName.parent_path() / target) {
        if (part == "..") {
            walked = walked.parent_path();
        } else if (!part.empty() && part != ".") {
            walked /= part;
            if (links.count(walked)) return true;
        }
    }
    return false;
}

struct EntryFacts {
    fs::path name;
    bool isLink = false;
    std::string linkTarget;
    std::string hardlink;
};

EntryFacts factsOf(archive_entry* entry) {
    const char* target = archive_entry_symlink(entry);
    const char* hardlink = archive_entry_hardlink(entry);
    return {fs::path(entryName(entry)), archive_entry_filetype(entry) == AE_IFLNK, target ? target : "",
            hardlink ? hardlink : ""};
}

bool escapes(const EntryFacts& entry, const std::set<fs::path>& links) {
    const auto name = entry.name.lexically_normal();
    if (!isPlainRelative(entry.name) || belowAnyLink(name, links)) return true;
    if (!entry.hardlink.empty() && (!isPlainRelative(entry.hardlink) || belowAnyLink(entry.hardlink, links))) return true;
    if (!entry.isLink) return false;
    const fs::path target = entry.linkTarget;
    return target.empty() || !staysInside(entry.name.parent_path() / target) || climbsThroughLink(name, target, links);
}

/// Copies one entry's data. Every warning counts: the disk writer reports a failed write (a full
/// disk) as a mere warning, and the reader a bad check sum.
void copyEntryData(archive* reader, archive* writer, const fs::path& archivePath,
                   const std::string& entryName) {
    const void* block = nullptr;
    std::size_t size = 0;
    la_int64_t offset = 0;
    for (;;) {
        const int status = archive_read_data_block(reader, &block, &size, &offset);
        if (status == ARCHIVE_EOF)
            return;
        if (status != ARCHIVE_OK)
            failReading(reader, archivePath);
        if (archive_write_data_block(writer, block, size, offset) != ARCHIVE_OK)
            failWriting(writer, archivePath, entryName);
    }
}

/// Entries are written with relative names from inside `folder`: this thread gets a working
/// folder of its own (unshare(CLONE_FS)), so the process's working folder never changes.
void extractHere(const fs::path& archivePath, const fs::path& shownPath) {
    auto reader = openForReading(archivePath);
    ArchivePointer writer(archive_write_disk_new(), archive_write_free);
    archive_write_disk_set_options(writer.get(), ARCHIVE_EXTRACT_TIME | ARCHIVE_EXTRACT_SECURE_NODOTDOT |
                                                     ARCHIVE_EXTRACT_SECURE_SYMLINKS |
                                                     ARCHIVE_EXTRACT_SECURE_NOABSOLUTEPATHS);
    forEachEntry(reader.get(), shownPath, [&](archive_entry* entry) {
        const auto name = entryName(entry);
        if (archive_write_header(writer.get(), entry) < ARCHIVE_WARN)
            failWriting(writer.get(), shownPath, name);
        if (archive_entry_size(entry) > 0)
            copyEntryData(reader.get(), writer.get(), shownPath, name);
        if (archive_write_finish_entry(writer.get()) != ARCHIVE_OK)
            failWriting(writer.get(), shownPath, name);
    });
    if (archive_write_close(writer.get()) != ARCHIVE_OK)
        failWriting(writer.get(), shownPath, "");
}

/// What the checks before an extraction need, from one read of the headers.
struct Inspection {
    std::vector<EntryFacts> entries;
    std::uint64_t declaredSize = 0; ///< the sum of the sizes the entries declare
};

Inspection inspect(const fs::path& archivePath) {
    const ScopedUTF8Locale utf8;
    auto reader = openForReading(archivePath);
    Inspection inspection;
    forEachEntry(reader.get(), archivePath, [&](archive_entry* entry) {
        inspection.entries.push_back(factsOf(entry));
        if (archive_entry_size_is_set(entry) && archive_entry_size(entry) > 0) {
            inspection.declaredSize += static_cast<std::uint64_t>(archive_entry_size(entry));
        }
    });
    return inspection;
}

void refuseEscapingEntries(const std::vector<EntryFacts>& entries) {
    std::set<fs::path> links;
    for (const auto& entry : entries) {
        if (entry.isLink)
            links.insert(entry.name.lexically_normal());
    }
    for (const auto& entry : entries) {
        if (escapes(entry, links))
            throw FinderActionExecutionError::invalidPath(entry.name.string());
    }
}

} // namespace

std::vector<std::string> ZipExtractor::entryNames(const fs::path& archivePath) {
    const ScopedUTF8Locale utf8;
    std::vector<std::string> names;
    try {
        auto reader = openForReading(archivePath);
        forEachEntry(reader.get(), archivePath, [&](archive_entry* entry) {
            const char* name = archive_entry_pathname(entry);
            names.emplace_back(name ? name : "");
        });
    } catch (const std::exception&) {
        return {};
    }
    return names;
}

void ZipExtractor::checkBeforeExtracting(const fs::path& archivePath, const fs::path& folder) {
    const auto inspection = inspect(archivePath);
    refuseEscapingEntries(inspection.entries);
    struct statvfs disk {};
    if (::statvfs(folder.c_str(), &disk) != 0)
        return; // unknown: a failed write still stops it
    const auto available = static_cast<std::uint64_t>(disk.f_bavail) * disk.f_frsize;
    if (inspection.declaredSize > available)
        throw diskFull(archivePath);
}

std::uint64_t ZipExtractor::declaredSize(const fs::path& archivePath) {
    return inspect(archivePath).declaredSize;
}

void ZipExtractor::extractInto(const fs::path& archivePath, const fs::path& folder) {
    const auto absoluteArchive = fs::absolute(archivePath);
    std::exception_ptr failure;
    std::thread worker([&] {
        try {
            if (::unshare(CLONE_FS) != 0 || ::chdir(folder.c_str()) != 0) {
                throw fs::filesystem_error("cannot enter folder", folder, std::error_code(errno, std::generic_category()));
            }
            const ScopedUTF8Locale utf8;
            extractHere(absoluteArchive, archivePath);
        } catch (...) {
            failure = std::current_exception();
        }
    });
    worker.join();
    if (failure) std::rethrow_exception(failure);
}

} // namespace quilla
