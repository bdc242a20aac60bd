#include "finder-extension/core/StringDictionary.h"

namespace quilla {

std::optional<std::map<std::string, std::string>> stringDictionary(const plist::Value& value) {
    const plist::Dict* dict = value.asDict();
    if (!dict) {
        return std::nullopt;
    }
    std::map<std::string, std::string> result;
    for (const auto& [key, item] : *dict) {
        const std::string* text = item.asString();
        if (!text) {
            return std::nullopt;
        }
        result.emplace(key, *text);
    }
    return result;
}

} // namespace quilla
