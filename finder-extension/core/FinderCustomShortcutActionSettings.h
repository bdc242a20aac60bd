#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quilla {

class FinderSettingsFileCache;

/// One of the user's own menu entries: a shortcut (by name) or a script file.
struct FinderCustomShortcutAction {
    enum class Kind { shortcut, script };

    std::string id;
    std::string name;
    Kind kind = Kind::shortcut;
    std::string shortcutName;
    std::string scriptPath;

    /// The action ID its menu item queues: "runShortcut__" or "runScript__" followed by the ID.
    std::string actionID() const;

    bool operator==(const FinderCustomShortcutAction&) const = default;
};

/// The extension's read-only view of CustomShortcutActions.plist (no built-in entries).
class FinderCustomShortcutActionSettings final {
public:
    static std::filesystem::path settingsFilePath();

    /// The actions, reading the file now.
    static std::vector<FinderCustomShortcutAction> actions();
    /// The same, reusing the last parse while the file is unchanged.
    static std::shared_ptr<const std::vector<FinderCustomShortcutAction>> actions(FinderSettingsFileCache& cache);

    /// The actions a file's bytes hold: empty unless the root is an array of string dictionaries;
    /// entries without "id" or "name", shortcuts without a name and scripts without a path are skipped.
    static std::vector<FinderCustomShortcutAction> parse(const std::optional<std::string>& bytes);

    /// The action an action ID ("runShortcut__…" or "runScript__…") names, if any.
    static std::optional<FinderCustomShortcutAction> actionForActionID(const std::vector<FinderCustomShortcutAction>& actions,
                                                                      const std::string& actionID);
};

} // namespace quilla
