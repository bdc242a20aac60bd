#include "finder-extension/core/FinderMenuModel.h"

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

} // namespace quilla
