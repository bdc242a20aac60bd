#include "app/core/operations/creation/FileCreationOperations.h"

#include "app/core/executor/ExecutorHelpers.h"

#include <cerrno>
#include <functional>
#include <string>
#include <sys/stat.h>
#include <system_error>

namespace quilla::creation {

namespace fs = std::filesystem;

namespace {

/// Makes a new item with `make` under the first free name "B.E", "B 2.E", …; when another program
/// takes the name between the look and the creation (EEXIST), the next free name is used.
fs::path createUnderFreeName(const fs::path& folder, const std::string& base, const std::string& extension,
                             const std::function<void(const fs::path&)>& make) {
    for (;;) {
        const auto item = executor::freeItemPath(folder, base, extension);
        try {
            make(item);
            return item;
        } catch (const fs::filesystem_error& error) {
            if (error.code() != std::errc::file_exists)
                throw;
        }
    }
}

} // namespace

fs::path createFolder(const ExecutorContext& context, const std::vector<fs::path>& selected,
                      const std::optional<fs::path>& targeted) {
    const auto folder = createUnderFreeName(
        executor::targetDirectory(selected, targeted), "Untitled Folder", "", [](const fs::path& path) {
            if (::mkdir(path.c_str(), 0777) != 0) {
                throw fs::filesystem_error("cannot create folder", path,
                                           std::error_code(errno, std::generic_category()));
            }
        });
    executor::revealIfWanted(context, context.preferences().revealCreatedItems, {folder});
    return folder;
}

fs::path createFile(const ExecutorContext& context, QuillaFileTemplate fileTemplate,
                    const std::vector<fs::path>& selected, const std::optional<fs::path>& targeted) {
    const auto file =
        createUnderFreeName(executor::targetDirectory(selected, targeted),
                            std::string(fileTemplate.baseName()), std::string(fileTemplate.pathExtension()),
                            [&fileTemplate](const fs::path& path) { fileTemplate.write(path); });
    executor::revealIfWanted(context, context.preferences().revealCreatedItems, {file});
    return file;
}

} // namespace quilla::creation
