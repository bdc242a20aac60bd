#include "app/core/runner/QueuedActionDecoding.h"

#include <nlohmann/json.hpp>

#include <algorithm>

namespace quilla {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

constexpr int kMaxQueuedFileDepth = 32;

struct TooDeep {};

/// Parses a queue file, refusing (TooDeep) nesting that would only cost time to build and tear down.
json parseQueuedFile(std::string_view bytes) {
    return json::parse(bytes, [](int depth, json::parse_event_t, json&) {
        if (depth > kMaxQueuedFileDepth) {
            throw TooDeep{};
        }
        return true;
    });
}

std::optional<std::string> nonEmptyString(const json& object, const char* key) {
    const auto it = object.find(key);
    if (it == object.end() || !it->is_string() || it->get_ref<const std::string&>().empty()) {
        return std::nullopt;
    }
    return it->get<std::string>();
}

std::optional<ActionRequest> decodeAction(const json& root) {
    if (!root.is_object() || root.empty()) {
        return std::nullopt;
    }
    const auto actionID = root.find("actionID");
    if (actionID == root.end() || !actionID->is_string()) {
        return std::nullopt;
    }
    ActionRequest request{.actionID = actionID->get<std::string>()};
    if (const auto selected = root.find("selectedPaths");
        selected != root.end() && selected->is_array() &&
        std::all_of(selected->begin(), selected->end(), [](const json& item) { return item.is_string(); })) {
        for (const auto& item : *selected) {
            request.selectedPaths.emplace_back(item.get<std::string>());
        }
    }
    if (auto target = nonEmptyString(root, "targetedPath")) {
        request.targetedPath = fs::path(*target);
    }
    if (auto destination = nonEmptyString(root, "destinationPath")) {
        request.destinationPath = fs::path(*destination);
    }
    if (const auto preset = root.find("presetID"); preset != root.end() && preset->is_string()) {
        request.presetID = preset->get<std::string>();
    }
    return request;
}

} // namespace

std::optional<ActionRequest> decodeQueuedAction(std::string_view bytes) {
    try {
        return decodeAction(parseQueuedFile(bytes));
    } catch (const TooDeep&) {
        return std::nullopt;
    }
}

} // namespace quilla
