#include "shared/FileIO.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quilla {
namespace {

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

void syncDirectory(const std::filesystem::path& directory) {
    const int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

bool writeFileAtomically(const std::filesystem::path& path, std::string_view bytes, bool createParents,
                         mode_t mode, Durability durability) noexcept {
    try {
        const auto directory = path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
        if (createParents) {
            std::error_code ec;
            std::filesystem::create_directories(directory, ec);
            if (ec) {
                return false;
            }
        }
        std::string temporary = (directory / ("." + path.filename().string() + ".XXXXXX")).string();
        const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
        if (fd < 0) {
            return false;
        }
        const bool synced = durability == Durability::synced;
        bool ok = ::fchmod(fd, mode) == 0 && writeAll(fd, bytes) && (!synced || ::fsync(fd) == 0);
        ok = (::close(fd) == 0) && ok;
        if (ok && ::rename(temporary.c_str(), path.c_str()) == 0) {
            if (synced) {
                syncDirectory(directory);
            }
            return true;
        }
        ::unlink(temporary.c_str());
        return false;
    } catch (...) {
        return false;
    }
}

std::optional<std::string> readFileCapped(const std::filesystem::path& path, std::size_t maxBytes) noexcept {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        return std::nullopt;
    }
    auto bytes = readOpenFileCapped(fd, maxBytes);
    const int error = errno;
    ::close(fd);
    errno = error;
    return bytes;
}

std::vector<std::string> entryNames(int directoryFD) {
    std::vector<std::string> names;
    const int copy = ::dup(directoryFD);
    DIR* handle = copy >= 0 ? ::fdopendir(copy) : nullptr;
    if (!handle) {
        if (copy >= 0) {
            ::close(copy);
        }
        return names;
    }
    ::rewinddir(handle); // the copy shares its position with `directoryFD`
    while (const dirent* entry = ::readdir(handle)) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..") {
            names.emplace_back(name);
        }
    }
    ::closedir(handle);
    return names;
}

std::optional<std::string> readOpenFileCapped(int fd, std::size_t maxBytes) noexcept {
    try {
        struct stat info {};
        if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) ||
            static_cast<std::size_t>(info.st_size) > maxBytes) {
            return std::nullopt;
        }
        std::string bytes;
        bytes.resize(static_cast<std::size_t>(info.st_size));
        std::size_t done = 0;
        // The file may grow between fstat and read; anything past the cap counts as too large.
        for (;;) {
            if (done == bytes.size()) {
                if (bytes.size() >= maxBytes + 1) {
                    return std::nullopt;
                }
                bytes.resize(std::min(maxBytes + 1, bytes.size() + 4096));
            }
            const ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n < 0) {
                return std::nullopt;
            }
            if (n == 0) {
                break;
            }
            done += static_cast<std::size_t>(n);
        }
        if (done > maxBytes) {
            return std::nullopt;
        }
        bytes.resize(done);
        return bytes;
    } catch (...) {
        return std::nullopt;
    }
}

namespace {

// Publishes `bytes` as a new file at `path` in one step, without replacing a file another writer
// created meanwhile: the complete temporary file is hard-linked into place. False only when
// `path` already exists; where hard links are unsupported the temporary file is renamed instead.
bool createWholeUnlessExists(const std::filesystem::path& path, std::string_view bytes) {
    const auto directory = path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
    std::error_code ec;
    std::filesystem::create_directories(directory, ec);
    std::string temporary = (directory / ("." + path.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) {
        return true;
    }
    const bool written = ::fchmod(fd, 0644) == 0 && writeAll(fd, bytes);
    ::close(fd);
    if (written && ::link(temporary.c_str(), path.c_str()) != 0) {
        const int error = errno;
        if (error == EEXIST) {
            ::unlink(temporary.c_str());
            return false;
        }
        if ((error == EPERM || error == ENOSYS || error == EOPNOTSUPP) && ::rename(temporary.c_str(), path.c_str()) == 0) {
            return true;
        }
    }
    ::unlink(temporary.c_str());
    return true;
}

} // namespace

void appendLogLine(const std::filesystem::path& path, std::string_view line, std::size_t rotateAtBytes) noexcept {
    try {
        std::string text(line);
        text.push_back('\n');
        struct stat info {};
        if (::stat(path.c_str(), &info) == 0) {
            if (static_cast<std::size_t>(info.st_size) >= rotateAtBytes) {
                auto older = path;
                older += ".1";
                ::rename(path.c_str(), older.c_str());
            } else {
                const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC | O_NOFOLLOW);
                if (fd >= 0) {
                    writeAll(fd, text);
                    ::close(fd);
                    return;
                }
            }
        }
        // Missing (or just rotated): create it whole, so a reader never sees a partial first line.
        // A writer that loses the race to create it appends to the winner's file rather than
        // replacing it (which would drop the winner's lines).
        if (!createWholeUnlessExists(path, text)) {
            const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC | O_NOFOLLOW);
            if (fd >= 0) {
                writeAll(fd, text);
                ::close(fd);
            }
        }
    } catch (...) {
    }
}

} // namespace quilla
