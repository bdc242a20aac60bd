#pragma once

#include <filesystem>
#include <string_view>

namespace quilla::creation {

/// Writes a complete new file atomically (readers never see half of it) with the mode the umask
/// gives new files. An item already at `path`, even one made a moment ago, is never replaced: that
/// raises EEXIST. Other failures raise the system's error with the path.
void writeNewFile(const std::filesystem::path& path, std::string_view bytes);

/// A folder that exists for one scope and is removed with everything in it afterwards (removal
/// failures are ignored).
class ScopedWorkFolder final {
public:
    /// Creates the user's temporary folder + `prefix` + a new upper-case UUID.
    explicit ScopedWorkFolder(std::string_view prefix);
    ~ScopedWorkFolder();
    ScopedWorkFolder(const ScopedWorkFolder&) = delete;
    ScopedWorkFolder& operator=(const ScopedWorkFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

} // namespace quilla::creation
