#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quilla {

/// A user's own context-menu entry: a shortcut run by name, or a script file run by path.
/// Equality covers all five fields.
struct CustomShortcutAction {
    enum class Kind { shortcut, script };

    std::string id;           ///< a new UUID when the entry is created
    std::string name;         ///< shown in the menu and the list
    Kind kind = Kind::shortcut;
    std::string shortcutName; ///< the shortcut to run; empty for scripts
    std::string scriptPath;   ///< the script file; empty for shortcuts

    /// The row's secondary text and the fallback name: the shortcut name or the script path.
    const std::string& detailText() const { return kind == Kind::script ? scriptPath : shortcutName; }

    bool operator==(const CustomShortcutAction&) const = default;
};

/// The stored word: "shortcut" or "script".
std::string_view rawValue(CustomShortcutAction::Kind kind);

/// The kind stored under `raw`; nothing for any other word.
std::optional<CustomShortcutAction::Kind> customShortcutActionKindFromRaw(std::string_view raw);

} // namespace quilla
