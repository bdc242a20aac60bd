#pragma once

#include "app/core/executor/ExecutorContext.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace quilla::executor {

namespace fs = std::filesystem;

/// The folder new items are created in: the first selected item if it is a folder, else its
/// folder; else the same for the targeted item; else noTargetDirectory.
fs::path targetDirectory(const std::vector<fs::path>& selected, const std::optional<fs::path>& targeted);

/// The selection, else the targeted item alone, else nothing.
std::vector<fs::path> effectiveURLs(const std::vector<fs::path>& selected, const std::optional<fs::path>& targeted);

/// Standardised paths ("." and ".." resolved) in the same order; noSelection when empty,
/// sourceItemMissing at the first item that does not exist (checked before anything is done).
std::vector<fs::path> validatedSourceURLs(const std::vector<fs::path>& selected);

/// The standardised folder, or destinationDirectoryUnavailable.
fs::path validatedDestinationDirectory(const fs::path& directory);

enum class StandardDirectory { desktop, downloads, documents };
/// The user's Desktop, Downloads or Documents folder.
fs::path standardDirectory(StandardDirectory which);

/// A name's last extension by the platform rule: the part after the last dot, except that a
/// leading dot does not start an extension. Gives (base, extension); extension may be empty.
std::pair<std::string, std::string> splitLastExtension(const std::string& name);

/// The first free path in `folder` for base B and extension E: "B.E", then "B 2.E", "B 3.E", …
/// (without ".E" when E is empty). A name longer than the file system allows is an error
/// (ENAMETOOLONG), never a truncated name.
fs::path freeItemPath(const fs::path& folder, const std::string& base, const std::string& extension);

/// Makes a new item with `make` under the first free name (as freeItemPath gives it). `make` must
/// never replace an item: when another program takes the name between the look and the creation,
/// `make` raises EEXIST and the next free name is tried. Gives the path made.
fs::path createUnderFreeName(const fs::path& folder, const std::string& base, const std::string& extension,
                             const std::function<void(const fs::path&)>& make);

/// A new, empty folder under the first free name "B", "B 2", … in `parent` (never one that
/// appeared meanwhile, whose contents are someone else's).
fs::path createFreeFolder(const fs::path& parent, const std::string& base);

/// Shows the folders of the produced items in the file manager: existing folders themselves,
/// files by their folder, duplicates removed, sorted by path, at most four. Failures ignored.
void openContainingFolders(const ExecutorContext& context, const std::vector<fs::path>& items);

/// Calls openContainingFolders when `preference` is on.
void revealIfWanted(const ExecutorContext& context, bool preference, const std::vector<fs::path>& items);

/// Replaces the clipboard's content with `text`; pasteboardWriteFailed when it refuses.
void copyToPasteboard(const ExecutorContext& context, const std::string& text);

/// Lexically normalised absolute path ("." and ".." resolved, no trailing slash).
fs::path standardized(const fs::path& path);

} // namespace quilla::executor
