#include "app/core/operations/creation/FileCreationOperations.h"

#include "app/core/executor/ExecutorHelpers.h"

#include <cerrno>
#include <string>
#include <sys/stat.h>
#include <system_error>

namespace quilla::creation {

namespace fs = std::filesystem;

fs::path createFolder(const ExecutorContext& context, const std::vector<fs::path>& selected,
                      const std::optional<fs::path>& targeted) {
    const auto folder = executor::freeItemPath(executor::targetDirectory(selected, targeted), "Untitled Folder", "");
    if (::mkdir(folder.c_str(), 0777) != 0) {
        throw fs::filesystem_error("cannot create folder", folder, std::error_code(errno, std::generic_category()));
    }
    executor::revealIfWanted(context, context.preferences().revealCreatedItems, {folder});
    return folder;
}

fs::path createFile(const ExecutorContext& context, QuillaFileTemplate fileTemplate, const std::vector<fs::path>& selected,
                    const std::optional<fs::path>& targeted) {
    const auto file = executor::freeItemPath(executor::targetDirectory(selected, targeted),
                                             std::string(fileTemplate.baseName()), std::string(fileTemplate.pathExtension()));
    fileTemplate.write(file);
    executor::revealIfWanted(context, context.preferences().revealCreatedItems, {file});
    return file;
}

} // namespace quilla::creation
