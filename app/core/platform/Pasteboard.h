#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quilla {

/// The general clipboard.
class Pasteboard {
public:
    virtual ~Pasteboard() = default;
    /// Clears the clipboard and puts `text` on it as plain text; false when it refuses.
    virtual bool writeText(const std::string& text) = 0;
    /// The plain text on the clipboard, if any.
    virtual std::optional<std::string> readText() = 0;
    /// File paths on the clipboard (from file URLs, e.g. text/uri-list), in order.
    virtual std::vector<std::string> readFilePaths() = 0;
};

} // namespace quilla
