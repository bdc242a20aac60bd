#pragma once

#include "app/core/executor/ExecutorContext.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace quilla::copymove {

namespace fs = std::filesystem;

// Copying and moving the selection. Existing items are never replaced: every new item takes the
// next free name ("a.txt", "a 2.txt", …; folders follow the same last-extension rule). Each
// operation stops at the first failure and raises it; items handled before it stay where they are.

/// Copies the selection into `destination`; the new locations, in selection order. A folder cannot
/// be copied into itself or one of its sub-folders (checked for all items before anything is copied).
std::vector<fs::path> copyFiles(const ExecutorContext& context, const std::vector<fs::path>& selected,
                                const fs::path& destination);

/// Moves the selection into `destination`, with the same rules as copyFiles.
std::vector<fs::path> moveFiles(const ExecutorContext& context, const std::vector<fs::path>& selected,
                                const fs::path& destination);

/// Asks for a folder ("选择目标文件夹", confirm button `confirmButton`); nothing when cancelled.
std::optional<fs::path> chooseDestinationDirectory(const ExecutorContext& context, const std::string& confirmButton);

/// Asks for a folder, then copies into it; an empty list when the chooser was cancelled.
std::vector<fs::path> copyFilesToChosenDirectory(const ExecutorContext& context, const std::vector<fs::path>& selected);

/// Asks for a folder, then moves into it; an empty list when the chooser was cancelled.
std::vector<fs::path> moveFilesToChosenDirectory(const ExecutorContext& context, const std::vector<fs::path>& selected);

/// Turns one selected item into one new item next to it and gives the new item's path.
using PerItemStep = std::function<fs::path(const fs::path& item)>;

/// The default step: a copy in the item's own folder named "NAME copy.EXT" (then "NAME copy 2.EXT", …).
fs::path copyBesideOriginal(const fs::path& item);

/// Runs `step` for each selected item in order and collects the new items; reveals them when the
/// preference revealActionResults is on. noSelection when empty; the first failure is raised and
/// earlier results stay. Items are not checked for existence first: a missing one fails in its step.
std::vector<fs::path> copyFilesBesideOriginal(const ExecutorContext& context, const std::vector<fs::path>& selected,
                                              const PerItemStep& step = copyBesideOriginal);

/// Makes "New Folder With Items" (or the next free name) next to the first selected item and moves
/// every selected item into it; gives the new folder.
fs::path moveSelectionToNewFolder(const ExecutorContext& context, const std::vector<fs::path>& selected);

} // namespace quilla::copymove
