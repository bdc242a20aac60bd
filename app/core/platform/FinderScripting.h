#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace quilla {

/// Asking the file manager about its windows and changing how it shows them. On GNOME Files the
/// selection is not published (empty) and the front folder is the Desktop; view settings go
/// through GSettings. Failures are thrown as FinderActionExecutionError with a Chinese message.
class FinderScripting {
public:
    virtual ~FinderScripting() = default;
    /// The file manager's current selection, in order (empty when unknown).
    virtual std::vector<std::filesystem::path> selection() = 0;
    /// The folder of the front window, or the Desktop when no window is open.
    virtual std::optional<std::filesystem::path> frontFolder() = 0;
};

} // namespace quilla
