#include "app/core/operations/rename/ArchiveOperations.h"

#include "app/core/executor/ExecutorHelpers.h"
#include "app/core/executor/FinderActionExecutionError.h"
#include "app/core/operations/copymove/FileTransfer.h"
#include "app/core/operations/creation/NewFileWriting.h"
#include "app/core/operations/rename/FileNameCollation.h"
#include "app/core/operations/rename/ZipArchiveWriter.h"
#include "app/core/operations/rename/ZipExtractor.h"
#include "shared/LogText.h"
#include "shared/Uuid.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#include <utility>

namespace quilla::archives {
namespace {

[[noreturn]] void failAt(const char* what, const fs::path& path, int error) {
    throw fs::filesystem_error(what, path, std::error_code(error, std::generic_category()));
}

/// One top-level entry: its name inside the archive and the item it is read from.
using ArchiveItem = std::pair<std::string, fs::path>;

/// Gives every item its name inside the archive. The names are reserved by empty placeholders in
/// the work folder, so two items called a.txt become "a.txt" and "a 2.txt" by the usual rule.
std::vector<ArchiveItem> namedEntries(const std::vector<fs::path>& items, const fs::path& contents) {
    std::vector<ArchiveItem> entries;
    for (const auto& item : items) {
        const auto [base, extension] = executor::splitLastExtension(item.filename().string());
        const auto reserved = executor::freeItemPath(contents, base, extension);
        const fileops::FileDescriptor placeholder(::open(reserved.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
        if (placeholder.get() < 0) failAt("cannot reserve name", reserved, errno);
        entries.emplace_back(reserved.filename().string(), item);
    }
    return entries;
}

/// Writes the archive under a hidden name in `folder` and gives it the first free name "BASE.zip",
/// "BASE 2.zip", … only when complete, never replacing an item that appeared meanwhile; a failure
/// removes the partial file. Gives the archive's path.
fs::path writeArchive(const std::vector<ArchiveItem>& entries, const fs::path& folder,
                      const std::string& base) {
    const auto archivePath = executor::freeItemPath(folder, base, "zip"); // the name errors show
    const auto partial = folder / (".quilla-archive-" + newUUIDString() + ".zip");
    fileops::FileDescriptor output(::open(partial.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    if (output.get() < 0)
        failAt("cannot create archive", archivePath, errno);
    try {
        ZipArchiveWriter zip(output.get(), archivePath);
        for (const auto& [name, source] : entries)
            zip.addItem(name, source);
        zip.finish();
        if (output.release() != 0)
            failAt("cannot write archive", archivePath, errno);
        return executor::createUnderFreeName(folder, base, "zip", [&partial](const fs::path& destination) {
            fileops::renameNoReplace(partial, destination);
        });
    } catch (...) {
        ::unlink(partial.c_str());
        throw;
    }
}

bool hasZipExtension(const fs::path& item) {
    return collation::lowercased(executor::splitLastExtension(item.filename().string()).second) == "zip";
}

/// Moves what was extracted into `destination`: new names are renamed in, folders that exist on
/// both sides are filled, files of the same name are replaced. Links in `destination` are never
/// followed (renaming a folder over one fails).
void mergeInto(const fs::path& source, const fs::path& destination) {
    if (fileops::isRealDirectory(source) && fileops::isRealDirectory(destination)) {
        for (const auto& child : fs::directory_iterator(source)) {
            mergeInto(child.path(), destination / child.path().filename());
        }
        return;
    }
    if (::rename(source.c_str(), destination.c_str()) != 0) failAt("cannot extract item", destination, errno);
}

fs::path extractToNewFolder(const fs::path& archive) {
    const auto folder = executor::createFreeFolder(
        archive.parent_path(), executor::splitLastExtension(archive.filename().string()).first);
    try {
        ZipExtractor::extractInto(archive, folder);
    } catch (...) {
        std::error_code ignored; // the folder is new: nothing of the user's is in it
        fs::remove_all(folder, ignored);
        throw;
    }
    return folder;
}

std::vector<fs::path> extractBesideArchive(const fs::path& archive) {
    const auto folder = archive.parent_path();
    const auto before = childPathSet(folder);
    const auto staging = folder / (".quilla-extracting-" + newUUIDString());
    fs::create_directory(staging);
    // Unpacked aside first, so that a damaged archive leaves nothing half-written next to it.
    try {
        ZipExtractor::extractInto(archive, staging);
        for (const auto& child : fs::directory_iterator(staging)) {
            mergeInto(child.path(), folder / child.path().filename());
        }
    } catch (...) {
        std::error_code ignored;
        fs::remove_all(staging, ignored);
        throw;
    }
    std::error_code ignored;
    fs::remove_all(staging, ignored);
    return newChildren(folder, before);
}

} // namespace

fs::path compressToZIP(const ExecutorContext& context, const std::vector<fs::path>& selected,
                       const std::optional<fs::path>& targeted) {
    const auto items = executor::validatedSourceURLs(executor::effectiveURLs(selected, targeted));
    const auto base = items.size() == 1 ? executor::splitLastExtension(items.front().filename().string()).first
                                        : std::string("Archive");
    fs::path archivePath;
    {
        const creation::ScopedWorkFolder work("quilla-archive-");
        const auto contents = work.path() / "contents";
        fs::create_directory(contents);
        archivePath = writeArchive(namedEntries(items, contents), items.front().parent_path(), base);
    }
    context.appendDiagnosticLog("compressed ZIP=" + archivePath.string() + " entries=" + bracketedList(zipEntries(archivePath)));
    executor::revealIfWanted(context, context.preferences().revealActionResults, {archivePath});
    return archivePath;
}

std::vector<fs::path> extractZIPs(const ExecutorContext& context, const std::vector<fs::path>& selected,
                                  ArchiveExtractionMode mode) {
    std::vector<fs::path> archives;
    for (const auto& item : selected) {
        if (hasZipExtension(item)) archives.push_back(executor::standardized(item));
    }
    if (selected.empty())
        throw FinderActionExecutionError::noSelection();
    if (archives.empty())
        throw FinderActionExecutionError::noItemsOfKind(FinderActionExecutionError::ItemKind::zip);
    std::vector<fs::path> results;
    for (const auto& archive : archives) {
        ZipExtractor::checkBeforeExtracting(archive, archive.parent_path());
        const auto extracted = mode == ArchiveExtractionMode::toFolder
                                   ? std::vector<fs::path>{extractToNewFolder(archive)}
                                   : extractBesideArchive(archive);
        clearQuarantineIfNeeded(extracted);
        results.insert(results.end(), extracted.begin(), extracted.end());
    }
    executor::revealIfWanted(context, context.preferences().revealActionResults, results);
    return results;
}

std::vector<std::string> zipEntries(const fs::path& archive) { return ZipExtractor::entryNames(archive); }

std::set<fs::path> childPathSet(const fs::path& folder) {
    std::set<fs::path> paths;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        paths.insert(executor::standardized(it->path()));
    }
    return ec ? std::set<fs::path>{} : paths;
}

std::vector<fs::path> newChildren(const fs::path& folder, const std::set<fs::path>& before) {
    std::vector<fs::path> added;
    for (const auto& path : childPathSet(folder)) {
        if (!before.count(path)) added.push_back(path);
    }
    std::sort(added.begin(), added.end());
    return added.empty() ? std::vector<fs::path>{folder} : added;
}

void clearQuarantineIfNeeded(const std::vector<fs::path>&) {}

} // namespace quilla::archives
