#include "app/core/executor/ActionTable.h"

#include "app/core/executor/FinderActionExecutionError.h"

namespace quilla {

void ActionTable::add(std::string actionID, Handler handler) { handlers_[std::move(actionID)] = std::move(handler); }

void ActionTable::addPrefix(std::string prefix, PrefixHandler handler) {
    prefixes_.emplace_back(std::move(prefix), std::move(handler));
}

ActionResult ActionTable::perform(const ActionRequest& request) const {
    for (const auto& [prefix, handler] : prefixes_) {
        if (request.actionID.starts_with(prefix)) {
            return handler(request, request.actionID.substr(prefix.size()));
        }
    }
    if (request.actionID == "completed") {
        return request.selectedPaths;
    }
    const auto it = handlers_.find(request.actionID);
    if (it == handlers_.end()) {
        throw FinderActionExecutionError::unsupportedAction(request.actionID);
    }
    return it->second(request);
}

bool ActionTable::handles(std::string_view actionID) const {
    for (const auto& entry : prefixes_) {
        if (actionID.starts_with(entry.first)) {
            return true;
        }
    }
    return actionID == "completed" || handlers_.find(actionID) != handlers_.end();
}

std::vector<std::string> ActionTable::actionIDs() const {
    std::vector<std::string> ids;
    for (const auto& entry : handlers_) {
        ids.push_back(entry.first);
    }
    return ids;
}

} // namespace quilla
