#pragma once

#include "shared/PropertyList.h"

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace quilla {

/// One file or folder waiting to be moved to the Trash. Equality covers all four fields.
struct ScheduledDeletionItem {
    std::string id;   ///< a new UUID made when the item is scheduled
    std::string path; ///< absolute path of the item (a link is the link itself)
    std::chrono::system_clock::time_point scheduledAt;
    std::chrono::system_clock::time_point deleteAt; ///< scheduledAt plus the chosen interval

    bool operator==(const ScheduledDeletionItem&) const = default;
};

/// The file's root: an array of dictionaries with "id", "path" (strings) and "scheduledAt",
/// "deleteAt" (property-list dates), in the given order.
plist::Value encodeScheduledDeletionItems(const std::vector<ScheduledDeletionItem>& items);

/// The items of a file's root; nothing unless every entry has all four keys with the right types.
std::optional<std::vector<ScheduledDeletionItem>> decodeScheduledDeletionItems(const plist::Value& root);

} // namespace quilla
