#pragma once

#include "app/core/executor/ExecutorContext.h"

#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace quilla::archives {

namespace fs = std::filesystem;

/// Where extracted items go: next to the archive, or into a new folder named after it.
enum class ArchiveExtractionMode { here, toFolder };

/// Makes one ZIP of the selection (else of the targeted item) next to the first item: "NAME.zip"
/// for one item, "Archive.zip" for several (free names). Entries are the items under their own
/// names (a second item of the same name gets the next free name), with what they hold. The
/// archive is written under a hidden name and appears complete or not at all. Logs
/// "compressed ZIP=… entries=[…]" and reveals it when revealActionResults is on.
fs::path compressToZIP(const ExecutorContext& context, const std::vector<fs::path>& selected,
                       const std::optional<fs::path>& targeted);

/// Extracts every selected ".zip" (any case) and gives the extracted items: the new folder of
/// each archive, or the items that appeared next to it (the folder itself when none did).
/// noSelection when nothing is selected, noItemsOfKind(zip) without archives. Archives that would write
/// outside their folder are refused before anything is written; a failed extraction leaves nothing of that
/// archive behind.
std::vector<fs::path> extractZIPs(const ExecutorContext& context, const std::vector<fs::path>& selected,
                                  ArchiveExtractionMode mode);

/// The entry names of an archive; empty when it cannot be read.
std::vector<std::string> zipEntries(const fs::path& archive);

/// Standardised paths of everything in `folder` (hidden items too); empty when it cannot be listed.
std::set<fs::path> childPathSet(const fs::path& folder);

/// The items of `folder` not in `before`, sorted by path; [folder] when there are none.
std::vector<fs::path> newChildren(const fs::path& folder, const std::set<fs::path>& before);

/// Linux keeps no quarantine mark on downloaded files: nothing to clear.
void clearQuarantineIfNeeded(const std::vector<fs::path>& items);

} // namespace quilla::archives
