#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace quilla {

/// Converting between local paths and `file://` URL text.
class FileURL final {
public:
    /// "file://" + the path percent-escaped (UTF-8 bytes outside the URL path characters),
    /// with a trailing slash when the path names an existing folder.
    static std::string string(const std::filesystem::path& path);

    /// The local path of a `file:` URL (empty or "localhost" host), percent-escapes decoded.
    /// Nothing for other schemes, remote hosts, or escapes that decode to NUL or are malformed.
    static std::optional<std::filesystem::path> path(std::string_view url);

    /// Whether `text` starts with a URL scheme ("name:") that is "file", in any case.
    static bool hasFileScheme(std::string_view text);
};

} // namespace quilla
