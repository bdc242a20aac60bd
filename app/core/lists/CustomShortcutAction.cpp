#include "app/core/lists/CustomShortcutAction.h"

namespace quilla {

std::string_view rawValue(CustomShortcutAction::Kind kind) {
    return kind == CustomShortcutAction::Kind::script ? "script" : "shortcut";
}

std::optional<CustomShortcutAction::Kind> customShortcutActionKindFromRaw(std::string_view raw) {
    if (raw == "shortcut") {
        return CustomShortcutAction::Kind::shortcut;
    }
    if (raw == "script") {
        return CustomShortcutAction::Kind::script;
    }
    return std::nullopt;
}

} // namespace quilla
