#include "app/core/deletion/FileLock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <system_error>
#include <unistd.h>

namespace quilla {
namespace {

// flock() also excludes other descriptors of the same process on local file systems, but on NFS
// it is emulated with per-process record locks that do not; the mutex covers threads there.
std::mutex& processMutex() {
    static std::mutex mutex;
    return mutex;
}

} // namespace

FileLock::FileLock(const std::filesystem::path& lockFile) : inProcess_(processMutex()) {
    std::error_code ignored;
    std::filesystem::create_directories(lockFile.parent_path(), ignored);
    fd_ = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd_ < 0) {
        throw std::system_error(errno, std::generic_category(), lockFile.string());
    }
    while (::flock(fd_, LOCK_EX) != 0) {
        if (errno != EINTR) {
            const int error = errno;
            ::close(fd_);
            throw std::system_error(error, std::generic_category(), lockFile.string());
        }
    }
}

FileLock::~FileLock() {
    ::flock(fd_, LOCK_UN);
    ::close(fd_);
}

} // namespace quilla
