#pragma once

#include "app/core/executor/ExecutorContext.h"

#include <filesystem>
#include <string>
#include <vector>

namespace quilla::rename {

namespace fs = std::filesystem;

/// The six ways of renaming a selection, in the order of their action IDs.
enum class RenameMode { addPrefix, addSuffix, findReplace, sequential, lowercase, uppercase };

/// The texts a mode works with; only find-and-replace uses `second`.
struct RenameOptions {
    std::string first;
    std::string second;
    bool operator==(const RenameOptions&) const = default;
};

/// Asks for the texts of `mode`. A cancelled prompt is not the end: it gives the mode's defaults
/// (empty texts, or "File" for sequential numbering). The case modes ask nothing.
RenameOptions renameOptions(const ExecutorContext& context, RenameMode mode);

/// The new name of the item at position `index` (from 0) in processing order. The last extension
/// is never changed.
std::string renamedName(const std::string& name, RenameMode mode, const RenameOptions& options, std::size_t index);

/// Renames the whole selection in the order a file manager shows it and gives every item's path
/// afterwards, in that order. noSelection when empty; stops at the first failure (earlier items
/// keep their new names); reveals the results when revealActionResults is on.
std::vector<fs::path> renameFiles(const ExecutorContext& context, const std::vector<fs::path>& selected, RenameMode mode);

/// Renames one item inside its folder and gives its new path. A taken name gets the next free
/// name instead of replacing anything; a change of case or accents only goes through a hidden
/// temporary name (".quilla-renaming-UUID"), and when the second step fails the item is moved
/// back to its former name before the error is raised. A name that is empty, "." or "..", or
/// holds "/", is refused with invalidPath.
fs::path moveRenamedItem(const fs::path& item, const std::string& newName);

} // namespace quilla::rename
