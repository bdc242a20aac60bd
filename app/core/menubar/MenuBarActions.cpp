#include "app/core/menubar/MenuBarActions.h"

#include "app/core/executor/FinderActionExecutionError.h"
#include "app/core/url/FinderCurrentContext.h"

namespace quilla {

MenuBarActions::MenuBarActions(std::function<ActionResult(const ActionRequest&)> perform,
                               FinderScripting& finderScripting)
    : perform_(std::move(perform)), finderScripting_(finderScripting) {}

std::optional<ActionRequest> MenuBarActions::request(MenuBarCommand command, const std::string& value) {
    switch (command) {
    case MenuBarCommand::openQuickOpenDestination:
        return ActionRequest{.actionID = "quickOpenPath", .destinationPath = std::filesystem::path(value)};
    case MenuBarCommand::performQuickOpenAction:
        return ActionRequest{.actionID = value};
    case MenuBarCommand::performCustomAction: {
        const auto context = FinderCurrentContext::read(finderScripting_);
        return ActionRequest{
            .actionID = value, .selectedPaths = context.selectedURLs, .targetedPath = context.targetedURL};
    }
    default:
        return std::nullopt;
    }
}

std::optional<std::string> MenuBarActions::perform(MenuBarCommand command,
                                                   const std::optional<std::string>& representedValue) {
    if (!representedValue) {
        return std::nullopt;
    }
    const auto action = request(command, *representedValue);
    if (!action) {
        return std::nullopt;
    }
    try {
        (void)perform_(*action);
        return std::nullopt;
    } catch (const std::exception& error) {
        return errorDescription(error);
    } catch (...) {
        return std::string("unknown error");
    }
}

} // namespace quilla
