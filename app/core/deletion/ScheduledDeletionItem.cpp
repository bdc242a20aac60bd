#include "app/core/deletion/ScheduledDeletionItem.h"

namespace quilla {

plist::Value encodeScheduledDeletionItems(const std::vector<ScheduledDeletionItem>& items) {
    plist::Array array;
    array.reserve(items.size());
    for (const auto& item : items) {
        array.emplace_back(plist::Dict{
            {"id", item.id},
            {"path", item.path},
            {"scheduledAt", plist::Date{item.scheduledAt}},
            {"deleteAt", plist::Date{item.deleteAt}},
        });
    }
    return array;
}

std::optional<std::vector<ScheduledDeletionItem>> decodeScheduledDeletionItems(const plist::Value& root) {
    const auto* array = root.asArray();
    if (!array) {
        return std::nullopt;
    }
    std::vector<ScheduledDeletionItem> items;
    items.reserve(array->size());
    for (const auto& entry : *array) {
        const auto* dict = entry.asDict();
        if (!dict) {
            return std::nullopt;
        }
        const auto* id = plist::string(*dict, "id");
        const auto* path = plist::string(*dict, "path");
        const auto scheduledAt = plist::date(*dict, "scheduledAt");
        const auto deleteAt = plist::date(*dict, "deleteAt");
        // One broken entry makes the whole list unreadable, as the file has always been decoded.
        if (!id || !path || !scheduledAt || !deleteAt) {
            return std::nullopt;
        }
        items.push_back({*id, *path, scheduledAt->time, deleteAt->time});
    }
    return items;
}

} // namespace quilla
