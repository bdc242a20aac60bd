#include "app/core/operations/copymove/CopyMoveOperations.h"

#include "app/core/executor/ExecutorHelpers.h"
#include "app/core/executor/FinderActionExecutionError.h"
#include "app/core/operations/copymove/FileTransfer.h"
#include "app/core/platform/Prompts.h"
#include "shared/L10n.h"

namespace quilla::copymove {
namespace {

using Transfer = void (*)(const fs::path& source, const fs::path& destination);

/// The free path in `folder` for an item keeping its own name and last extension.
fs::path freePathKeepingName(const fs::path& folder, const fs::path& item) {
    const auto [base, extension] = executor::splitLastExtension(item.filename().string());
    return executor::freeItemPath(folder, base, extension);
}

/// A recursive copy or move of a folder into itself never ends well: refuse it before anything
/// of the selection is touched.
void refuseFolderIntoItself(const std::vector<fs::path>& sources, const fs::path& destination) {
    for (const auto& source : sources) {
        if (fileops::isRealDirectory(source) && fileops::isSameOrInside(destination, source)) {
            throw FinderActionExecutionError::destinationDirectoryUnavailable(destination.string());
        }
    }
}

std::vector<fs::path> transferInto(const ExecutorContext& context, const std::vector<fs::path>& selected,
                                   const fs::path& destination, Transfer transfer) {
    const auto sources = executor::validatedSourceURLs(selected);
    const auto folder = executor::validatedDestinationDirectory(destination);
    refuseFolderIntoItself(sources, folder);
    std::vector<fs::path> results;
    results.reserve(sources.size());
    for (const auto& source : sources) {
        const auto target = freePathKeepingName(folder, source);
        transfer(source, target);
        results.push_back(target);
    }
    executor::revealIfWanted(context, context.preferences().revealActionResults, results);
    return results;
}

} // namespace

std::vector<fs::path> copyFiles(const ExecutorContext& context, const std::vector<fs::path>& selected,
                                const fs::path& destination) {
    return transferInto(context, selected, destination, fileops::copyItem);
}

std::vector<fs::path> moveFiles(const ExecutorContext& context, const std::vector<fs::path>& selected,
                                const fs::path& destination) {
    return transferInto(context, selected, destination, fileops::moveItem);
}

std::optional<fs::path> chooseDestinationDirectory(const ExecutorContext& context, const std::string& confirmButton) {
    return context.prompts.chooseDirectory(L10n::text<"选择目标文件夹">(), confirmButton);
}

std::vector<fs::path> copyFilesToChosenDirectory(const ExecutorContext& context, const std::vector<fs::path>& selected) {
    if (selected.empty()) throw FinderActionExecutionError::noSelection();
    const auto folder = chooseDestinationDirectory(context, L10n::text<"复制">());
    return folder ? copyFiles(context, selected, *folder) : std::vector<fs::path>{};
}

std::vector<fs::path> moveFilesToChosenDirectory(const ExecutorContext& context, const std::vector<fs::path>& selected) {
    if (selected.empty()) throw FinderActionExecutionError::noSelection();
    const auto folder = chooseDestinationDirectory(context, L10n::text<"移动">());
    return folder ? moveFiles(context, selected, *folder) : std::vector<fs::path>{};
}

fs::path copyBesideOriginal(const fs::path& item) {
    const auto source = executor::standardized(item);
    const auto [base, extension] = executor::splitLastExtension(source.filename().string());
    const auto target = executor::freeItemPath(source.parent_path(), base + " copy", extension);
    fileops::copyItem(source, target);
    return target;
}

std::vector<fs::path> copyFilesBesideOriginal(const ExecutorContext& context, const std::vector<fs::path>& selected,
                                              const PerItemStep& step) {
    if (selected.empty()) throw FinderActionExecutionError::noSelection();
    std::vector<fs::path> results;
    results.reserve(selected.size());
    for (const auto& item : selected) {
        results.push_back(step(item));
    }
    executor::revealIfWanted(context, context.preferences().revealActionResults, results);
    return results;
}

fs::path moveSelectionToNewFolder(const ExecutorContext& context, const std::vector<fs::path>& selected) {
    // Every item is checked before the folder is made, so a vanished item leaves no empty folder.
    const auto sources = executor::validatedSourceURLs(selected);
    const auto parent = sources.front().parent_path();
    refuseFolderIntoItself(sources, parent);
    const auto folder = executor::createFreeFolder(parent, "New Folder With Items");
    for (const auto& source : sources) {
        fileops::moveItem(source, freePathKeepingName(folder, source));
    }
    executor::revealIfWanted(context, context.preferences().revealActionResults, {folder});
    return folder;
}

} // namespace quilla::copymove
