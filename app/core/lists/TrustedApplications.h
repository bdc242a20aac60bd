#pragma once

#include <filesystem>

namespace quilla {

/// Which desktop entries an "open with" request may start. The request arrives as a file anyone
/// able to write into a queue could have made, so the entry must be one the user chose (the
/// "用应用打开" list) or one installed in the standard applications folders
/// ($XDG_DATA_HOME/applications, $XDG_DATA_DIRS/applications), where only the user or the
/// administrator can put files.
class TrustedApplications final {
public:
    /// Whether `desktopEntry` is an existing `.desktop` file that may be started.
    static bool mayOpen(const std::filesystem::path& desktopEntry);
};

} // namespace quilla
