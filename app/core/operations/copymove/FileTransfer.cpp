#include "app/core/operations/copymove/FileTransfer.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <string>
#include <sys/sendfile.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <vector>

namespace quilla::fileops {
namespace {

[[noreturn]] void fail(const char* what, const fs::path& path, int error) {
    throw fs::filesystem_error(what, path, std::error_code(error, std::generic_category()));
}

struct stat lstatOrFail(const fs::path& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) fail("cannot read item", path, errno);
    return info;
}

enum class KernelCopy { copyFileRange, sendFile, readWrite };

} // namespace

void copyFileData(int in, int out, const fs::path& source, const fs::path& destination) {
    constexpr std::size_t kChunk = std::size_t{1} << 30;
    KernelCopy way = KernelCopy::copyFileRange;
    off_t done = 0;
    while (true) {
        ssize_t n = 0;
        if (way == KernelCopy::copyFileRange) {
            n = ::copy_file_range(in, nullptr, out, nullptr, kChunk, 0);
            if (n < 0 && (errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP) && done == 0) {
                way = KernelCopy::sendFile;
                continue;
            }
        } else if (way == KernelCopy::sendFile) {
            n = ::sendfile(out, in, nullptr, kChunk);
            if (n < 0 && (errno == EINVAL || errno == ENOSYS) && done == 0) {
                way = KernelCopy::readWrite;
                continue;
            }
        } else {
            static thread_local std::vector<char> buffer(std::size_t{1} << 20);
            n = ::read(in, buffer.data(), buffer.size());
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) fail("cannot read file", source, errno);
            for (ssize_t written = 0; written < n;) {
                const ssize_t w = ::write(out, buffer.data() + written, static_cast<std::size_t>(n - written));
                if (w < 0 && errno == EINTR) continue;
                if (w < 0) fail("cannot write file", destination, errno);
                written += w;
            }
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) fail("cannot copy file", destination, errno);
        if (n == 0) break; // end of file (also covers files that grew or shrank meanwhile)
        done += n;
    }
}

void copyExtendedAttributes(int from, int to) {
    std::string names(1024, '\0');
    ssize_t length = 0;
    while ((length = ::flistxattr(from, names.data(), names.size())) < 0 && errno == ERANGE) {
        names.resize(names.size() * 4);
    }
    if (length <= 0)
        return; // none, or a file system without them
    names.resize(static_cast<std::size_t>(length));
    std::string value;
    for (std::size_t at = 0; at < names.size(); at = names.find('\0', at) + 1) {
        const char* name = names.c_str() + at;
        const ssize_t size = ::fgetxattr(from, name, nullptr, 0);
        if (size < 0)
            continue;
        value.resize(static_cast<std::size_t>(size));
        const ssize_t got = ::fgetxattr(from, name, value.data(), value.size());
        if (got >= 0)
            ::fsetxattr(to, name, value.data(), static_cast<std::size_t>(got), 0); // best effort
    }
}

namespace {

void copyTimes(int fd, const struct stat& info, const fs::path& destination) {
    const struct timespec times[2] = {info.st_atim, info.st_mtim};
    if (::futimens(fd, times) != 0) fail("cannot set times", destination, errno);
}

void copyRegularFile(const fs::path& source, const fs::path& destination, const struct stat& info) {
    FileDescriptor in(::open(source.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW));
    if (in.get() < 0) fail("cannot open file", source, errno);
    FileDescriptor out(::open(destination.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
    if (out.get() < 0) fail("cannot create file", destination, errno);
    ::posix_fadvise(in.get(), 0, 0, POSIX_FADV_SEQUENTIAL);
    copyFileData(in.get(), out.get(), source, destination);
    copyExtendedAttributes(in.get(), out.get());
    if (::fchmod(out.get(), info.st_mode & 0777) != 0)
        fail("cannot set permissions", destination, errno);
    copyTimes(out.get(), info, destination);
    if (out.release() != 0) fail("cannot write file", destination, errno);
}

void copySymbolicLink(const fs::path& source, const fs::path& destination, const struct stat& info) {
    std::string target(static_cast<std::size_t>(std::max<off_t>(info.st_size, 255)) + 1, '\0');
    const ssize_t n = ::readlink(source.c_str(), target.data(), target.size());
    if (n < 0) fail("cannot read link", source, errno);
    target.resize(static_cast<std::size_t>(n));
    if (::symlink(target.c_str(), destination.c_str()) != 0) fail("cannot create link", destination, errno);
    const struct timespec times[2] = {info.st_atim, info.st_mtim};
    ::utimensat(AT_FDCWD, destination.c_str(), times, AT_SYMLINK_NOFOLLOW); // best effort, as for links everywhere
}

std::vector<std::string> directoryEntries(const fs::path& directory) {
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(directory.c_str()), ::closedir);
    if (!dir) fail("cannot open folder", directory, errno);
    std::vector<std::string> names;
    errno = 0;
    while (const dirent* entry = ::readdir(dir.get())) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..") names.emplace_back(name);
        errno = 0;
    }
    if (errno != 0) fail("cannot read folder", directory, errno);
    return names;
}

void copyEntry(const fs::path& source, const fs::path& destination);

void copyDirectory(const fs::path& source, const fs::path& destination, const struct stat& info) {
    if (::mkdir(destination.c_str(), 0700) != 0) fail("cannot create folder", destination, errno);
    for (const auto& name : directoryEntries(source)) {
        copyEntry(source / name, destination / name);
    }
    FileDescriptor dir(::open(destination.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() < 0)
        fail("cannot open folder", destination, errno);
    const FileDescriptor original(::open(source.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOFOLLOW));
    if (original.get() >= 0)
        copyExtendedAttributes(original.get(), dir.get());
    if (::fchmod(dir.get(), info.st_mode & 07777 & ~(S_ISUID | S_ISGID)) != 0)
        fail("cannot set permissions", destination, errno);
    copyTimes(dir.get(), info, destination);
}

void copyEntry(const fs::path& source, const fs::path& destination) {
    const struct stat info = lstatOrFail(source);
    switch (info.st_mode & S_IFMT) {
    case S_IFREG: copyRegularFile(source, destination, info); break;
    case S_IFDIR: copyDirectory(source, destination, info); break;
    case S_IFLNK: copySymbolicLink(source, destination, info); break;
    case S_IFIFO:
        if (::mkfifo(destination.c_str(), info.st_mode & 0777) != 0) fail("cannot create pipe", destination, errno);
        break;
    default: fail("cannot copy special file", source, EOPNOTSUPP);
    }
}

bool itemExists(const fs::path& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

fs::path realPath(const fs::path& path) {
    std::error_code ec;
    fs::path real = fs::weakly_canonical(fs::absolute(path), ec);
    if (ec) real = fs::absolute(path).lexically_normal();
    if (!real.has_filename() && real.has_relative_path()) real = real.parent_path();
    return real;
}

} // namespace

FileDescriptor::~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
}

int FileDescriptor::release() {
    const int result = ::close(fd_);
    fd_ = -1;
    return result;
}

void copyItem(const fs::path& source, const fs::path& destination) {
    if (itemExists(destination)) fail("cannot copy item", destination, EEXIST);
    try {
        copyEntry(source, destination);
    } catch (const fs::filesystem_error&) {
        std::error_code ignored; // the half-made copy is ours alone: it did not exist before
        fs::remove_all(destination, ignored);
        throw;
    }
}

void renameNoReplace(const fs::path& source, const fs::path& destination) {
    if (::renameat2(AT_FDCWD, source.c_str(), AT_FDCWD, destination.c_str(), RENAME_NOREPLACE) == 0)
        return;
    const int error = errno;
    if (error != EINVAL || !itemExists(source)) {
        throw fs::filesystem_error("cannot move item", source, destination,
                                   std::error_code(error, std::generic_category()));
    }
    // File systems without RENAME_NOREPLACE: a hard link fails atomically on an existing name;
    // where links are not possible either (folders, some file systems), check first, then rename.
    if (::link(source.c_str(), destination.c_str()) == 0) {
        ::unlink(source.c_str());
        return;
    }
    if (errno == EEXIST || itemExists(destination)) {
        throw fs::filesystem_error("cannot move item", destination,
                                   std::make_error_code(std::errc::file_exists));
    }
    if (::rename(source.c_str(), destination.c_str()) != 0) {
        throw fs::filesystem_error("cannot move item", source, destination,
                                   std::error_code(errno, std::generic_category()));
    }
}

void moveItem(const fs::path& source, const fs::path& destination) {
    try {
        renameNoReplace(source, destination);
        return;
    } catch (const fs::filesystem_error& error) {
        if (error.code() != std::errc::cross_device_link)
            throw;
    }
    copyItem(source, destination);
    fs::remove_all(source); // raises the system's error; the complete copy stays
}

bool isSameOrInside(const fs::path& inner, const fs::path& outer) {
    const fs::path relative = realPath(inner).lexically_relative(realPath(outer));
    return !relative.empty() && *relative.begin() != "..";
}

bool isRealDirectory(const fs::path& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool isRegularFile(const fs::path& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

} // namespace quilla::fileops
