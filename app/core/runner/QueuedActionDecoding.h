#pragma once

#include "app/core/executor/ActionRequest.h"

#include <optional>
#include <string_view>

namespace quilla {

/// The action the bytes of a queued file hold; nothing when they are JSON without a usable action
/// (not an object, no string "actionID", or nested deeper than any file the extension writes).
/// Throws nlohmann::json::exception for bytes that are not JSON at all.
std::optional<ActionRequest> decodeQueuedAction(std::string_view bytes);

} // namespace quilla
