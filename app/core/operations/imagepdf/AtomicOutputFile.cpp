#include "app/core/operations/imagepdf/AtomicOutputFile.h"

#include "app/core/executor/ExecutorHelpers.h"
#include "app/core/operations/copymove/FileTransfer.h"

#include <cerrno>
#include <fcntl.h>
#include <fstream>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace quilla {
namespace {

namespace fs = std::filesystem;

[[noreturn]] void fail(const char* what, const fs::path& path, int error) {
    throw fs::filesystem_error(what, path, std::error_code(error, std::system_category()));
}

// The permission bits a newly created file gets under the process's umask (read from /proc, as
// umask(2) can only be read by changing it).
mode_t newFileMode() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("Umask:", 0) == 0) {
            return static_cast<mode_t>(0666 & ~std::stoul(line.substr(6), nullptr, 8));
        }
    }
    return 0644;
}

} // namespace

AtomicOutputFile::AtomicOutputFile(const fs::path& folder, const std::string& suffix) {
    std::string pattern = (folder / ".quilla-XXXXXX").string() + suffix;
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    fd_ = ::mkostemps(name.data(), static_cast<int>(suffix.size()), O_CLOEXEC);
    if (fd_ < 0) {
        fail("cannot create a temporary file", folder, errno);
    }
    path_ = name.data();
}

AtomicOutputFile::~AtomicOutputFile() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
    if (!committed_) {
        ::unlink(path_.c_str());
    }
}

void AtomicOutputFile::finish(mode_t mode) {
    if (::fchmod(fd_, mode) != 0 || ::fsync(fd_) != 0) {
        fail("cannot finish writing", path_, errno);
    }
}

void AtomicOutputFile::write(std::string_view bytes) const {
    while (!bytes.empty()) {
        const auto written = ::write(fd_, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            fail("cannot write", path_, errno);
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
}

void AtomicOutputFile::commitAsNew(const fs::path& destination) {
    finish(newFileMode());
    fileops::renameNoReplace(path_, destination);
    committed_ = true;
}

fs::path AtomicOutputFile::commitAsFreeName(const fs::path& folder, const std::string& base,
                                            const std::string& extension) {
    return executor::createUnderFreeName(folder, base, extension,
                                         [this](const fs::path& destination) { commitAsNew(destination); });
}

void AtomicOutputFile::commitReplacing(const fs::path& original) {
    const fileops::FileDescriptor source(::open(original.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    struct stat info {};
    if (source.get() < 0 || ::fstat(source.get(), &info) != 0) {
        fail("cannot read the original's permissions", original, errno);
    }
    if (info.st_nlink > 1) {
        return rewriteInPlace(original);
    }
    fileops::copyExtendedAttributes(source.get(), fd_);
    finish(info.st_mode & 07777);
    if (::rename(path_.c_str(), original.c_str()) != 0) {
        fail("cannot replace the original", original, errno);
    }
    committed_ = true;
}

void AtomicOutputFile::rewriteInPlace(const fs::path& original) {
    if (::fsync(fd_) != 0 || ::lseek(fd_, 0, SEEK_SET) != 0) {
        fail("cannot finish writing", path_, errno);
    }
    fileops::FileDescriptor target(::open(original.c_str(), O_WRONLY | O_CLOEXEC | O_NONBLOCK));
    if (target.get() < 0) {
        fail("cannot replace the original", original, errno);
    }
    fileops::copyFileData(fd_, target.get(), path_, original);
    const off_t size = ::lseek(target.get(), 0, SEEK_CUR);
    if (size < 0 || ::ftruncate(target.get(), size) != 0 || ::fsync(target.get()) != 0 ||
        target.release() != 0) {
        fail("cannot replace the original", original, errno);
    }
}

} // namespace quilla
