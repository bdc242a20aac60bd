#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

namespace quilla {

/// Whether an atomic write also survives a power cut (fsync of the file and its folder).
enum class Durability { synced, unsynced };

/// Writes `bytes` to `path` so that readers see either the old file or the complete new one:
/// a temporary file in the same folder, fsync, rename over the target, fsync of the folder.
/// Creates missing parent folders when `createParents` is set. Never throws; false on any failure,
/// in which case no temporary file is left behind. `unsynced` skips both fsyncs: still atomic for
/// readers, for short-lived files where a lost write after a crash does no harm.
bool writeFileAtomically(const std::filesystem::path& path, std::string_view bytes, bool createParents = true,
                         mode_t mode = 0644, Durability durability = Durability::synced) noexcept;

/// Reads a whole regular file of at most `maxBytes`. Nothing when it is missing, unreadable,
/// not a regular file or larger than the cap.
std::optional<std::string> readFileCapped(const std::filesystem::path& path, std::size_t maxBytes) noexcept;

/// The same for a file already open as `fd` (read from its current offset; `fd` stays open).
std::optional<std::string> readOpenFileCapped(int fd, std::size_t maxBytes) noexcept;

/// The names in the folder open as `directoryFD` (hidden ones too, without "." and ".."), read
/// from its start without reading attributes; empty when it cannot be read. `directoryFD` stays open.
std::vector<std::string> entryNames(int directoryFD);

/// Appends one line (a newline is added) to `path`. An existing file is appended to; a missing one
/// is created atomically. Past `rotateAtBytes` the file is first renamed to `NAME.1` (one older
/// generation kept). Every failure is ignored: logging must never disturb the caller.
void appendLogLine(const std::filesystem::path& path, std::string_view line,
                   std::size_t rotateAtBytes = 1024 * 1024) noexcept;

} // namespace quilla
