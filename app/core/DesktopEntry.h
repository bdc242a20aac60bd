#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quilla {

/// An installed application as the application side sees it: a desktop entry file (`.desktop`)
/// with the few keys it needs. Parsing and the XDG folders are shared with the extension
/// (shared/DesktopEntryLookup.h); this adds finding entries on disk.
class DesktopEntry final {
public:
    std::filesystem::path path; ///< the file the entry was read from
    std::string name;           ///< `Name=` of the [Desktop Entry] group (unlocalised); may be empty
    std::string exec;           ///< `Exec=`, escapes decoded, field codes left as written
    bool hidden = false;        ///< `Hidden=true`: the entry counts as deleted
    bool noDisplay = false;     ///< `NoDisplay=true`: installed but not shown in menus
    std::string icon;           ///< `Icon=`: a theme icon name or an absolute file path; may be empty

    /// Parses the text of a desktop entry; nothing when it has no [Desktop Entry] group.
    /// Localised keys (Name[zh_CN]=…) are ignored; the first occurrence of a key wins.
    static std::optional<DesktopEntry> parse(std::string_view text, std::filesystem::path path = {});

    /// Reads and parses a file; nothing when it is missing, not a regular file, larger than
    /// 1 MiB or not a desktop entry.
    static std::optional<DesktopEntry> read(const std::filesystem::path& path);

    /// The `applications` folders in XDG precedence order: $XDG_DATA_HOME/applications first,
    /// then those of $XDG_DATA_DIRS (default /usr/local/share:/usr/share).
    static std::vector<std::filesystem::path> applicationDirs();

    /// The installed entry with desktop-file id `id` (e.g. "org.gnome.TextEditor.desktop"): the
    /// first readable one in precedence order. Nothing when none is installed or the winning
    /// entry is Hidden (a user's Hidden copy removes the system one).
    static std::optional<DesktopEntry> find(std::string_view id);

    /// Every application a menu would offer: one entry per desktop-file id (the first in precedence
    /// order, subfolders giving "sub-name.desktop"), leaving out Hidden and NoDisplay ones; in no
    /// particular order.
    static std::vector<DesktopEntry> installed();

    /// Whether `path` names an existing `.desktop` file (what a valid application path is).
    static bool isApplicationPath(const std::filesystem::path& path);

    /// The name to show: `Name`, else the file name without ".desktop".
    std::string displayName() const;
};

} // namespace quilla
