#include "app/core/executor/ExecutorHelpers.h"

#include "app/core/executor/FinderActionExecutionError.h"
#include "app/core/platform/Pasteboard.h"
#include "app/core/platform/Workspace.h"
#include "shared/QuillaPaths.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <set>
#include <sys/stat.h>
#include <system_error>

namespace quilla::executor {
namespace {

bool itemExists(const fs::path& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

bool isDirectory(const fs::path& path) {
    std::error_code ec;
    return fs::is_directory(path, ec);
}

fs::path folderFor(const fs::path& item) {
    return isDirectory(item) ? item : item.parent_path();
}

constexpr std::size_t kMaxNameBytes = NAME_MAX;

} // namespace

fs::path standardized(const fs::path& path) {
    fs::path normal = path.lexically_normal();
    if (normal.has_relative_path() && !normal.has_filename()) {
        normal = normal.parent_path(); // drop the trailing slash
    }
    return normal;
}

fs::path targetDirectory(const std::vector<fs::path>& selected, const std::optional<fs::path>& targeted) {
    if (!selected.empty()) {
        return folderFor(standardized(selected.front()));
    }
    if (targeted) {
        return folderFor(standardized(*targeted));
    }
    throw FinderActionExecutionError::noTargetDirectory();
}

std::vector<fs::path> effectiveURLs(const std::vector<fs::path>& selected, const std::optional<fs::path>& targeted) {
    if (!selected.empty()) {
        return selected;
    }
    if (targeted) {
        return {*targeted};
    }
    return {};
}

std::vector<fs::path> validatedSourceURLs(const std::vector<fs::path>& selected) {
    if (selected.empty()) {
        throw FinderActionExecutionError::noSelection();
    }
    std::vector<fs::path> result;
    result.reserve(selected.size());
    for (const auto& item : selected) {
        auto path = standardized(item);
        if (!itemExists(path)) {
            throw FinderActionExecutionError::sourceItemMissing(path.string());
        }
        result.push_back(std::move(path));
    }
    return result;
}

fs::path validatedDestinationDirectory(const fs::path& directory) {
    auto path = standardized(directory);
    if (!isDirectory(path)) {
        throw FinderActionExecutionError::destinationDirectoryUnavailable(path.string());
    }
    return path;
}

fs::path standardDirectory(StandardDirectory which) {
    switch (which) {
    case StandardDirectory::desktop: return paths::userDir(paths::UserDir::desktop);
    case StandardDirectory::downloads: return paths::userDir(paths::UserDir::downloads);
    case StandardDirectory::documents: return paths::userDir(paths::UserDir::documents);
    }
    throw FinderActionExecutionError::destinationDirectoryUnavailable(std::to_string(static_cast<int>(which)));
}

std::pair<std::string, std::string> splitLastExtension(const std::string& name) {
    const auto dot = name.rfind('.');
    if (dot == std::string::npos || dot == 0 || dot + 1 == name.size()) {
        return {name, {}};
    }
    return {name.substr(0, dot), name.substr(dot + 1)};
}

fs::path freeItemPath(const fs::path& folder, const std::string& base, const std::string& extension) {
    const std::string suffix = extension.empty() ? std::string() : "." + extension;
    for (unsigned long counter = 1;; ++counter) {
        const std::string name = counter == 1 ? base + suffix : base + " " + std::to_string(counter) + suffix;
        if (name.size() > kMaxNameBytes) {
            throw fs::filesystem_error("name too long", folder / name,
                                       std::make_error_code(std::errc::filename_too_long));
        }
        const fs::path candidate = folder / name;
        if (!itemExists(candidate)) {
            return candidate;
        }
    }
}

fs::path createUnderFreeName(const fs::path& folder, const std::string& base, const std::string& extension,
                             const std::function<void(const fs::path&)>& make) {
    for (;;) {
        const auto item = freeItemPath(folder, base, extension);
        try {
            make(item);
            return item;
        } catch (const fs::filesystem_error& error) {
            if (error.code() != std::errc::file_exists) {
                throw;
            }
        }
    }
}

fs::path createFreeFolder(const fs::path& parent, const std::string& base) {
    return createUnderFreeName(parent, base, "", [](const fs::path& path) {
        if (::mkdir(path.c_str(), 0777) != 0) {
            throw fs::filesystem_error("cannot create folder", path,
                                       std::error_code(errno, std::generic_category()));
        }
    });
}

void openContainingFolders(const ExecutorContext& context, const std::vector<fs::path>& items) {
    std::set<std::string> folders;
    for (const auto& item : items) {
        if (!itemExists(item)) {
            continue;
        }
        folders.insert(folderFor(item).string());
    }
    std::size_t opened = 0;
    for (const auto& folder : folders) {
        if (opened++ == 4) {
            break;
        }
        context.workspace.open(folder);
    }
}

void revealIfWanted(const ExecutorContext& context, bool preference, const std::vector<fs::path>& items) {
    if (preference) {
        openContainingFolders(context, items);
    }
}

void copyToPasteboard(const ExecutorContext& context, const std::string& text) {
    if (!context.pasteboard.writeText(text)) {
        throw FinderActionExecutionError::pasteboardWriteFailed();
    }
}

} // namespace quilla::executor
