#pragma once

#include <string>
#include <string_view>
#include <unordered_map>

namespace quilla {

/// Looks up user-visible texts. The Chinese text itself is the key; without a
/// translation for it, the key is returned unchanged.
class L10n final {
public:
    using Table = std::unordered_map<std::string, std::string>;

    /// The text to show for `key` in the current translation table.
    static std::string text(std::string_view key);

    /// The translated text for `key` with its "%@" replaced by `argument`.
    static std::string format(std::string_view key, std::string_view argument);

    /// Replaces the translation table (normally once, at start-up). Thread-safe.
    static void setTable(Table table);
};

} // namespace quilla
