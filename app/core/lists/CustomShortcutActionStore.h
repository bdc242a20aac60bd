#pragma once

#include "app/core/Observable.h"
#include "app/core/lists/CustomShortcutAction.h"
#include "app/core/lists/CustomShortcutActionPersistence.h"
#include "app/core/lists/ListPrompts.h"

#include <cstddef>
#include <filesystem>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace quilla {

/// The user's custom actions in memory. Starts from the saved file (empty when there is none
/// or it cannot be read) and saves once; every later change is saved at once and announced.
class CustomShortcutActionStore final : public Observable {
public:
    explicit CustomShortcutActionStore(const CustomShortcutActionPersistence& persistence);

    const std::vector<CustomShortcutAction>& actions() const { return actions_; }

    /// Offers the available shortcuts in the picker and appends the confirmed one; nothing
    /// changes on cancel or when the shortcut name is blank after trimming.
    void addAction(ListPrompts& prompts);

    /// Asks for a script file and appends it, named after the file without its extension.
    /// The same file may be added more than once.
    void addScriptAction(ListPrompts& prompts);

    /// Removes the entries at `offsets`, highest first, saving after each single removal.
    void removeActions(const std::set<std::size_t>& offsets);

    /// Reorders with the common list rule (moveItems), then saves once.
    void moveActions(const std::set<std::size_t>& offsets, std::size_t destination);

    /// Renames the first entry with `action`'s id to `name` trimmed, or to `action`'s detail
    /// text when that is blank; nothing happens (and nothing is saved) for an unknown id.
    void update(const CustomShortcutAction& action, std::string_view name);

    /// The shortcuts the user can pick: the names of the executable regular files in `folder`,
    /// sorted; empty when the folder is missing or unreadable.
    static std::vector<std::string> availableShortcutNames(const std::filesystem::path& folder);
    static std::vector<std::string> availableShortcutNames();

    /// The picker offering `names`.
    static ShortcutPickerOptions pickerOptions(const std::vector<std::string>& names);
    /// The chooser of "添加扩展".
    static OpenPanelOptions scriptPanelOptions();

private:
    void changed();

    const CustomShortcutActionPersistence& persistence_;
    std::vector<CustomShortcutAction> actions_;
};

} // namespace quilla
