#pragma once

#include "app/core/executor/ActionRequest.h"
#include "app/core/menubar/MenuBarMenuModel.h"

#include <functional>
#include <optional>
#include <string>

namespace quilla {

class FinderScripting;

/// The tray menu's executor calls: quick-open places and children, and custom actions on the
/// file manager's current selection and folder. Synchronous, on the main thread.
class MenuBarActions final {
public:
    MenuBarActions(std::function<ActionResult(const ActionRequest&)> perform,
                   FinderScripting& finderScripting);

    /// Runs the item's action. The error's text when it failed (the caller shows the alert);
    /// nothing on success, for commands that are not executor actions, or without a value.
    std::optional<std::string> perform(MenuBarCommand command,
                                       const std::optional<std::string>& representedValue);

private:
    std::optional<ActionRequest> request(MenuBarCommand command, const std::string& value);

    std::function<ActionResult(const ActionRequest&)> perform_;
    FinderScripting& finderScripting_;
};

} // namespace quilla
