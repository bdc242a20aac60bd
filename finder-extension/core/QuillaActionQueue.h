#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace quilla {

/// One chosen action on its way to the application.
struct QuillaQueuedAction {
    std::string actionID;
    std::string title;
    std::vector<std::string> selectedPaths;
    std::optional<std::string> targetedPath;
    std::string destinationPath;
    std::string presetID;
};

/// The extension's side of the action queue: one JSON file per chosen action in a private folder
/// the application watches.
///
/// The file is a UTF-8 JSON object with exactly the keys "actionID", "createdAt" (seconds since
/// 1970 with fraction), "destinationPath", "presetID", "selectedPaths", "targetedPath" (empty
/// string when there is no target) and "title", pretty-printed with sorted keys, written
/// atomically under a new upper-case UUID name with the extension "json".
///
/// Paths travel as JSON strings, which can only hold Unicode text. A selection or target whose
/// path is not valid UTF-8 (possible on Linux, never on the file systems the format was made for)
/// is refused with an Error instead of being altered: a replaced byte would name another file,
/// and the application must act on exactly the items the user chose.
class QuillaActionQueue final {
public:
    /// Why nothing was queued; the text is for the diagnostic log.
    class Error final : public std::runtime_error {
    public:
        using std::runtime_error::runtime_error;
    };

    /// Where queued actions go: the extension's ActionQueue folder, created when missing (0700);
    /// when it cannot be created or is not private (a link, another owner, writable by group or
    /// others), the private fallback folder. Throws Error when neither works.
    static std::filesystem::path directoryPath();

    /// Writes the action into the queue directory and gives the file's path. Throws Error.
    static std::filesystem::path enqueue(const QuillaQueuedAction& action);

    /// The file's text for `action`, created at `createdAt`. Throws Error for text that is not UTF-8.
    static std::string encode(const QuillaQueuedAction& action, std::chrono::system_clock::time_point createdAt);
};

} // namespace quilla
