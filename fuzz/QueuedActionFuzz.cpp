// Queue files are left by the extension for the application to run; any bytes must decode to an
// action or to nothing (JSON errors are reported by the runner), never crash; and an action the
// extension queues must reach the application as it was chosen.
#include "app/core/runner/QueuedActionDecoding.h"
#include "finder-extension/core/QuillaActionQueue.h"
#include "fuzz/FuzzSupport.h"

#include <nlohmann/json.hpp>

using namespace quilla;

namespace {

std::optional<ActionRequest> decode(std::string_view bytes) {
    try {
        return decodeQueuedAction(bytes);
    } catch (const nlohmann::json::exception&) {
        return std::nullopt;
    }
}

/// The action as the extension would queue it; an empty preset and no preset are one on the wire.
QuillaQueuedAction asQueued(const ActionRequest& request) {
    QuillaQueuedAction action{.actionID = request.actionID,
                              .title = "",
                              .selectedPaths = {},
                              .targetedPath = {},
                              .destinationPath = request.destinationPath.value_or("").string(),
                              .presetID = request.presetID.value_or("")};
    for (const auto& path : request.selectedPaths) {
        action.selectedPaths.push_back(path.string());
    }
    if (request.targetedPath) {
        action.targetedPath = request.targetedPath->string();
    }
    return action;
}

bool sameAction(const ActionRequest& a, const ActionRequest& b) {
    const auto preset = [](const ActionRequest& request) { return request.presetID.value_or(""); };
    return a.actionID == b.actionID && a.selectedPaths == b.selectedPaths &&
           a.targetedPath == b.targetedPath && a.destinationPath == b.destinationPath &&
           preset(a) == preset(b);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto request = decode(fuzz::bytesOf(data, size));
    if (!request) {
        return 0;
    }
    const auto queued =
        QuillaActionQueue::encode(asQueued(*request), std::chrono::system_clock::time_point{});
    const auto again = decode(queued);
    fuzz::require(again && sameAction(*again, *request), "a queued action reaches the application unchanged");
    return 0;
}
