#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quilla {

/// Turning text a user typed or copied into paths of existing items.
class PathText final {
public:
    /// Trimmed of white space and line breaks (Unicode ones too), one pair of enclosing double
    /// or single quotes removed, and every "\ " (a shell-escaped space) turned into a space.
    static std::string normalizedPathText(std::string_view text);

    /// The existing item one piece of text names: a `file:` URL, or a path where a leading "~"
    /// stands for the home folder and a relative path is taken from the home folder.
    /// Nothing when the text is empty or no item exists there.
    static std::optional<std::filesystem::path> fileURL(std::string_view text);

    /// Every existing item named in a text, one candidate per non-empty line (the whole text
    /// when there is none), in order.
    static std::vector<std::filesystem::path> validFileURLs(std::string_view text);
};

} // namespace quilla
