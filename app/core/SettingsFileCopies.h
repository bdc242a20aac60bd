#pragma once

#include "shared/PropertyList.h"
#include "shared/SettingsChangeNotifier.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace quilla {

/// Reads and writes one settings file the way every list store does: the application's own copy
/// is the only one read; a save writes the application's copy, then the extension's copy, and
/// posts the settings-changed notification only after both writes succeeded.
class SettingsFileCopies final {
public:
    SettingsFileCopies(std::string fileName, std::string reason, QuillaSettingsChangeNotifier& notifier);

    std::filesystem::path applicationCopy() const;
    std::filesystem::path extensionCopy() const;

    /// The application copy's root dictionary; nothing when the file is missing or damaged.
    /// A damaged file (unreadable, not a property list, root not a dictionary) is first kept
    /// aside as NAME.bad-<UTC time>, so the save that follows never destroys its content.
    std::optional<plist::Dict> load() const;

    /// Writes both copies in order and then notifies; false (silently) on the first failure.
    bool save(const plist::Value& root) const;

private:
    std::string fileName_;
    std::string reason_;
    QuillaSettingsChangeNotifier& notifier_;
};

/// Renames a damaged file to NAME.bad-YYYYMMDDTHHMMSSZ beside it (with "-2", "-3"… when a copy
/// of that second is already there); gives the new path, nothing when the rename fails.
std::optional<std::filesystem::path> keepDamagedFileAside(const std::filesystem::path& path);

} // namespace quilla
