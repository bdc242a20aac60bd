#pragma once

#include "app/core/SettingsFileCopies.h"
#include "app/core/lists/CustomShortcutAction.h"
#include "shared/PropertyList.h"

#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

namespace quilla {

/// Reads and writes CustomShortcutActions.plist: an array of dictionaries with the five string
/// keys "id", "name", "kind", "shortcutName", "scriptPath". Only the application copy is read;
/// a save writes both copies and then posts "custom-shortcut-actions".
class CustomShortcutActionPersistence final {
public:
    explicit CustomShortcutActionPersistence(QuillaSettingsChangeNotifier& notifier);

    /// The application copy's path.
    static std::filesystem::path applicationCopy();

    /// The saved actions; empty when the file is missing, is not a property list or has any value
    /// of the wrong type. Entries without "id" or "name", or without the text their kind runs,
    /// are skipped. Reads the file afresh on every call; no side effects.
    static std::vector<CustomShortcutAction> load();

    /// The first saved action with this id, read afresh; nothing when there is none.
    static std::optional<CustomShortcutAction> action(std::string_view id);

    /// As load(), but a present file that cannot be read as a list is kept aside first (store start-up).
    std::vector<CustomShortcutAction> loadKeepingDamagedAside() const;

    /// Writes both copies, then notifies; false, silently, when a write fails.
    bool save(const std::vector<CustomShortcutAction>& actions) const;

    static plist::Value encode(const std::vector<CustomShortcutAction>& actions);
    /// Nothing when the root is not an array of string dictionaries.
    static std::optional<std::vector<CustomShortcutAction>> decode(const plist::Value& root);

private:
    SettingsFileCopies files_;
};

} // namespace quilla
