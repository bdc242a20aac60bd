#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quilla {

/// Reads a display table kept as text: one row per line, the key, a tab and the text shown, or
/// the key alone when it is shown as it is; "\n", "\t" and "\\" stand for a line feed, a tab
/// and a backslash; empty lines and lines starting with "#" are skipped.
class L10nTableText final {
public:
    struct Result {
        std::unordered_map<std::string, std::string> table;
        /// One line per fault ("line 12: no tab", "line 20: key repeated: …"); the first row of a
        /// repeated key is kept.
        std::vector<std::string> problems;
    };

    static Result parse(std::string_view text);
    static std::string unescape(std::string_view field);
};

} // namespace quilla
