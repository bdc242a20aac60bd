#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string_view>

namespace quilla {

/// What an action of this application leaves behind when the process is killed halfway, and how
/// it is cleared at the next start. Every name pattern this application gives a partial output or
/// temporary is listed here and nowhere else:
///
/// | In | Name | What |
/// |---|---|---|
/// | the user's folders | `.quilla-archive-<UUID>.zip` | an archive being written |
/// | the user's folders | `.quilla-extracting-<UUID>` | a folder an archive is being extracted into |
/// | the user's folders | `.quilla-XXXXXX[.ext]` | an image or PDF being written |
/// | the user's folders | `.NAME.XXXXXX` | a file being written atomically |
/// | the user's folders | `.quilla-renaming-<UUID>…` | a user's item halfway through a rename: kept, reported
/// | | the temporary folder | `quilla-<word>-<UUID>` | a work folder | | the settings folders |
/// `.NAME.plist.XXXXXX` | a settings file being saved |
class LeftoverFiles final {
public:
    enum class Kind {
        partialOutput, ///< removed
        temporary,     ///< removed
        renamingItem,  ///< the user's own item under a temporary name: never removed, only reported
    };

    /// The kind of a name found in a folder an interrupted action worked in; nothing for any other name.
    static std::optional<Kind> classify(std::string_view name);
    /// Whether `name` (in the temporary folder) is one of this application's work folders.
    static bool isWorkFolder(std::string_view name);
    /// Whether `name` (in a settings folder) is a settings file being saved.
    static bool isSettingsTemporary(std::string_view name);

    /// Removes from `folder` (not below it) the partial outputs and temporaries this user made at
    /// or after `since`, and reports items left mid-rename; each is logged. Older or foreign items
    /// are not this interruption's and stay.
    static void clearFolder(const std::filesystem::path& folder, std::chrono::system_clock::time_point since);
    /// The same for the work folders in the temporary folder.
    static void clearWorkFolders(std::chrono::system_clock::time_point since);
    /// Removes every settings temporary from the application's and the extension's settings folders,
    /// which only this application writes: a save in progress there belongs to a process that is gone.
    static void clearSettingsTemporaries();
};

} // namespace quilla
