#pragma once

#include "finder-extension/core/FinderSelectedPaths.h"
#include "shared/catalog/FinderFeatureAction.h"

#include <optional>
#include <string>
#include <vector>

namespace quilla {

/// What a clicked menu item stands for: the action, its title, the selection and target at menu
/// time, and an optional destination path and preset ID (empty when the action has none).
struct FinderActionContext {
    std::string actionID;
    std::string title;
    FinderFeatureAction action;
    FinderSelectedPaths selectedPaths;
    std::optional<std::string> targetedPath;
    std::string destinationPath;
    std::string presetID;

    bool operator==(const FinderActionContext&) const = default;
};

} // namespace quilla
