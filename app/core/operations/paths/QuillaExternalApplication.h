#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace quilla {

/// The two editors with actions of their own. Each is found by its desktop entry, else by its
/// program on PATH.
class QuillaExternalApplication final {
public:
    std::string_view actionID;       ///< "openInVSCode", "openInCursor"
    std::string_view desktopFileID;  ///< "code.desktop", "cursor.desktop"
    std::string_view executableName; ///< "code", "cursor"
    std::string_view name;           ///< the name in messages

    static const std::array<QuillaExternalApplication, 2>& all();

    /// The desktop entry to start the editor with: the installed entry, else a launcher entry
    /// written (in Quilla's state folder) for the program found on PATH. Nothing when the editor
    /// is not installed.
    std::optional<std::filesystem::path> installedURL() const;

    /// A minimal desktop entry that starts `program` with the items (%F); nothing when the
    /// program's path cannot be written on an Exec line (line breaks).
    static std::optional<std::string> launcherEntryText(std::string_view name, const std::filesystem::path& program);
};

} // namespace quilla
