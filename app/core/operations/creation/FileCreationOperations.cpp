#include "app/core/operations/creation/FileCreationOperations.h"

#include "app/core/executor/ExecutorHelpers.h"

#include <string>

namespace quilla::creation {

namespace fs = std::filesystem;

fs::path createFolder(const ExecutorContext& context, const std::vector<fs::path>& selected,
                      const std::optional<fs::path>& targeted) {
    const auto folder =
        executor::createFreeFolder(executor::targetDirectory(selected, targeted), "Untitled Folder");
    executor::revealIfWanted(context, context.preferences().revealCreatedItems, {folder});
    return folder;
}

fs::path createFile(const ExecutorContext& context, QuillaFileTemplate fileTemplate,
                    const std::vector<fs::path>& selected, const std::optional<fs::path>& targeted) {
    const auto file = executor::createUnderFreeName(
        executor::targetDirectory(selected, targeted), std::string(fileTemplate.baseName()),
        std::string(fileTemplate.pathExtension()),
        [&fileTemplate](const fs::path& path) { fileTemplate.write(path); });
    executor::revealIfWanted(context, context.preferences().revealCreatedItems, {file});
    return file;
}

} // namespace quilla::creation
