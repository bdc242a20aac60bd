#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quilla {

/// Finds applications the way desktops do on Linux, where an application is a desktop entry
/// (`.desktop` file): reads the few keys needed to list one and knows the folders they live in.
/// Plain C++, so the extension core can use it.
class DesktopEntryLookup final {
public:
    /// What a desktop entry says about itself.
    struct Entry {
        std::string name;    ///< `Name=` of the [Desktop Entry] group (unlocalised, escapes decoded); may be empty
        bool hidden = false; ///< `Hidden=true`: the entry counts as deleted
        std::string exec;    ///< `Exec=`, escapes decoded, field codes (%f %U …) left as written
        bool noDisplay = false; ///< `NoDisplay=true`: installed, but not shown in menus
        std::string icon;       ///< `Icon=`: a theme icon name or an absolute file path; may be empty
    };

    /// A built-in application of the "用应用打开" list: a stable ID and the desktop-file IDs that
    /// can stand for it, the first installed one winning.
    struct DefaultApplication {
        std::string_view id;
        std::array<std::string_view, 2> desktopFileIDs; // an unused slot is empty
    };

    /// Parses a desktop entry's text; nothing when it has no [Desktop Entry] group.
    static std::optional<Entry> parse(std::string_view text);

    /// The `applications` folders in XDG precedence order: $XDG_DATA_HOME/applications, then those
    /// of $XDG_DATA_DIRS (default /usr/local/share:/usr/share).
    static std::vector<std::filesystem::path> applicationDirs();

    /// The name to show for an entry read from `path`: its Name, else the file name without ".desktop".
    static std::string displayName(const Entry& entry, const std::filesystem::path& path);

    /// The built-in applications in list order: a document viewer, a text editor and the three
    /// office programs, under the IDs "preview", "textedit", "pages", "numbers", "keynote".
    static const std::array<DefaultApplication, 5>& defaultApplications();

    /// Whether an application list entry is one of the editors older versions listed by default
    /// (IDs "vscode" and "cursor", their application bundles or their desktop entries); such entries are
    /// never shown.
    static bool isLegacyDeveloperApplication(std::string_view id, const std::filesystem::path& path);

    /// Files larger than this are not desktop entries worth reading.
    static constexpr std::size_t kMaxEntryBytes = 1024 * 1024;
};

} // namespace quilla
