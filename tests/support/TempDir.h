#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace quilla::test {

/// A fresh folder under the test's temporary root, removed (recursively) on destruction.
class TempDir final {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(std::string_view name) const { return path_ / name; }

    /// Writes `content` to `relative` below this folder, creating folders; gives the full path.
    std::filesystem::path write(std::string_view relative, std::string_view content) const;

private:
    std::filesystem::path path_;
};

/// Reads a whole file; empty when missing.
std::string readText(const std::filesystem::path& path);

} // namespace quilla::test
