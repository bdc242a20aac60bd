#pragma once

#include <filesystem>
#include <mutex>

namespace quilla {

/// Holds an exclusive advisory lock on `lockFile` (created when missing) for its lifetime, so that
/// read-change-write cycles on a file beside it never overlap, within this process or across
/// processes. Throws std::system_error when the lock file cannot be opened or locked.
class FileLock final {
public:
    explicit FileLock(const std::filesystem::path& lockFile);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

private:
    std::unique_lock<std::mutex> inProcess_;
    int fd_ = -1;
};

} // namespace quilla
