#include "finder-extension/core/FinderMenuModel.h"

#include <algorithm>

namespace quilla {

std::optional<std::string> FinderMenuItem::actionID() const {
    if (const auto* context = std::get_if<FinderActionContext>(&representedObject)) {
        return context->actionID;
    }
    if (const auto* dictionary = std::get_if<FinderMenuDictionary>(&representedObject)) {
        return dictionary->actionID;
    }
    return std::nullopt;
}

bool FinderMenuItem::canRun() const {
    if (separator || !enabled) {
        return false;
    }
    if (!submenu) {
        return true;
    }
    return std::any_of(submenu->items.begin(), submenu->items.end(),
                       [](const auto& item) { return item.canRun(); });
}

} // namespace quilla
