#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace quilla {

/// Starts the application of a desktop entry (`.desktop` file) with items, through GIO, which
/// expands the Exec line's field codes: %f and %u start one process per item, %F and %U pass
/// them all at once, and an entry without a field code is started once with no items.
class DesktopEntryLauncher final {
public:
    /// False with `error` filled when the file is no launchable desktop entry or the start fails.
    static bool launch(const std::filesystem::path& desktopEntry,
                       const std::vector<std::filesystem::path>& items, std::string* error = nullptr);

    /// Opens a URI (file or otherwise) with the desktop's default application for it, as GIO
    /// finds it in the MIME associations. False with `error` filled when none handles it.
    static bool launchDefault(const std::string& uri, std::string* error = nullptr);
};

} // namespace quilla
