#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace quilla {

/// One execution: the action ID, the file manager's selection and target, and the optional
/// destination (favourite folder, application or quick-open place) and view preset.
struct ActionRequest {
    std::string actionID;
    std::vector<std::filesystem::path> selectedPaths = {};
    std::optional<std::filesystem::path> targetedPath = {};
    std::optional<std::filesystem::path> destinationPath = {};
    std::optional<std::string> presetID = {};
};

/// The items an action created or changed, in order.
using ActionResult = std::vector<std::filesystem::path>;

} // namespace quilla
