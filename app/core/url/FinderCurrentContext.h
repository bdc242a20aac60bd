#pragma once

#include <filesystem>
#include <optional>
#include <vector>

namespace quilla {

class FinderScripting;

/// The file manager's state an action from outside is completed with: its selection and the
/// folder of its front window (the Desktop when none is open). GNOME Files publishes no
/// selection, so there it is always empty.
struct FinderCurrentContext {
    std::vector<std::filesystem::path> selectedURLs;
    std::optional<std::filesystem::path> targetedURL;

    /// Asks the file manager for both; an answer it cannot give is left empty, never thrown.
    static FinderCurrentContext read(FinderScripting& scripting);
    /// The selection alone (empty when unknown).
    static std::vector<std::filesystem::path> readSelectedURLs(FinderScripting& scripting);
    /// The front folder alone (none when unknown).
    static std::optional<std::filesystem::path> readTargetedURL(FinderScripting& scripting);
};

} // namespace quilla
