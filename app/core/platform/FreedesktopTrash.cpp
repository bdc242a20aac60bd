#include "app/core/platform/FreedesktopTrash.h"

#include "shared/L10n.h"
#include "shared/QuillaPaths.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace quilla {
namespace fs = std::filesystem;
namespace {

constexpr std::string_view kInfoSuffix = ".trashinfo";

class TrashFailure final : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

[[noreturn]] void fail(std::string text, const fs::path& path, int error = 0) {
    text += path.string();
    if (error != 0) {
        text += L10n::parenthesized(std::strerror(error));
    }
    throw TrashFailure(text);
}

// A folder this user may keep trashed items in: a real folder (not a link) that it owns and can
// write to. Created with mode 0700 when missing.
bool usablePrivateDirectory(const fs::path& dir) {
    if (::mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST) {
        return false;
    }
    struct stat info {};
    return ::lstat(dir.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::getuid() &&
           ::access(dir.c_str(), W_OK | X_OK) == 0;
}

std::optional<dev_t> deviceOf(const fs::path& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return std::nullopt;
    }
    return info.st_dev;
}

// Whether `device` is the file system the home trash belongs to (that of $XDG_DATA_HOME).
bool isHomeDevice(dev_t device) {
    const auto dataHome = paths::homeTrashDir().parent_path();
    std::error_code ec;
    fs::create_directories(dataHome, ec);
    return deviceOf(dataHome) == device;
}

// The top folder of the mount holding `dir`: the highest ancestor still on `device`.
fs::path mountTop(fs::path dir, dev_t device) {
    while (dir != dir.root_path()) {
        const auto parent = dir.parent_path();
        if (deviceOf(parent) != device) {
            break;
        }
        dir = parent;
    }
    return dir;
}

// "$topdir/.Trash/$uid" when an administrator prepared "$topdir/.Trash" (sticky, not a link);
// otherwise "$topdir/.Trash-$uid".
std::optional<fs::path> mountTrash(const fs::path& top) {
    const auto uid = std::to_string(::getuid());
    const auto shared = top / ".Trash";
    struct stat info {};
    if (::lstat(shared.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && (info.st_mode & S_ISVTX) &&
        usablePrivateDirectory(shared / uid)) {
        return shared / uid;
    }
    if (usablePrivateDirectory(top / (".Trash-" + uid))) {
        return top / (".Trash-" + uid);
    }
    return std::nullopt;
}

// The first `maxBytes` bytes of `text`, not cutting a UTF-8 sequence in two.
std::string utf8Prefix(const std::string& text, std::size_t maxBytes) {
    if (text.size() <= maxBytes) {
        return text;
    }
    std::size_t cut = maxBytes;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) {
        --cut;
    }
    return text.substr(0, cut);
}

bool writeAll(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// Claims a name in the trash by creating its info file exclusively, so two processes trashing
// items of the same name at once never take the same slot. Gives the name and the open file.
std::pair<std::string, int> claimName(const fs::path& trash, const std::string& wanted) {
    for (int counter = 1; counter < 100000; ++counter) {
        const auto suffix = counter == 1 ? std::string() : "." + std::to_string(counter);
        const auto name = utf8Prefix(wanted, NAME_MAX - kInfoSuffix.size() - suffix.size()) + suffix;
        const auto info = trash / "info" / (name + std::string(kInfoSuffix));
        const int fd = ::open(info.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd < 0) {
            if (errno == EEXIST) {
                continue;
            }
            fail(L10n::text<"无法移到废纸篓：">(), trash, errno);
        }
        struct stat existing {};
        if (::lstat((trash / "files" / name).c_str(), &existing) == 0) {
            // A stray entry without its info file: leave it alone and take the next name.
            ::close(fd);
            ::unlink(info.c_str());
            continue;
        }
        return {name, fd};
    }
    fail(L10n::text<"无法移到废纸篓：">(), trash, EEXIST);
}

struct Located {
    fs::path original; ///< with the folders above it resolved
    dev_t device;
};

Located locate(const fs::path& item) {
    if (!item.has_filename() || item.filename() == "." || item.filename() == "..") {
        fail(L10n::text<"所选文件不存在或无法访问：">(), item);
    }
    // The folders above the item are resolved (a linked folder leads to the real mount); the item
    // itself is not, so a link is trashed as the link.
    std::error_code ec;
    const auto parent = fs::canonical(fs::absolute(item).parent_path(), ec);
    const auto original = parent / item.filename();
    struct stat info {};
    if (ec || ::lstat(original.c_str(), &info) != 0) {
        fail(L10n::text<"所选文件不存在或无法访问：">(), item);
    }
    return {original, info.st_dev};
}

// The trash for items on the item's file system, its folders made and checked.
FreedesktopTrash::Location trashFor(const Located& item) {
    FreedesktopTrash::Location location;
    if (isHomeDevice(item.device)) {
        location.trash = paths::homeTrashDir();
        if (!usablePrivateDirectory(location.trash)) {
            fail(L10n::text<"这个位置没有可用的废纸篓，文件未删除：">(), item.original);
        }
    } else {
        location.top = mountTop(item.original.parent_path(), item.device);
        const auto onMount = mountTrash(location.top);
        if (!onMount) {
            fail(L10n::text<"这个位置没有可用的废纸篓，文件未删除：">(), item.original);
        }
        location.trash = *onMount;
    }
    if (!usablePrivateDirectory(location.trash / "files") || !usablePrivateDirectory(location.trash / "info")) {
        fail(L10n::text<"这个位置没有可用的废纸篓，文件未删除：">(), item.original);
    }
    return location;
}

void moveInto(const FreedesktopTrash::Location& location, const fs::path& original) {
    const auto& trash = location.trash;
    // The home trash records absolute paths, a mount's trash paths relative to the mount's top.
    const auto recordedPath = location.top.empty() ? original.string() : original.lexically_relative(location.top).string();
    const auto [name, fd] = claimName(trash, original.filename().string());
    const auto infoPath = trash / "info" / (name + std::string(kInfoSuffix));
    const bool written = writeAll(fd, FreedesktopTrash::trashInfo(recordedPath, std::time(nullptr)));
    const int writeError = errno;
    if (::close(fd) != 0 || !written) {
        ::unlink(infoPath.c_str());
        fail(L10n::text<"无法移到废纸篓：">(), original, writeError);
    }
    if (::rename(original.c_str(), (trash / "files" / name).c_str()) != 0) {
        const int error = errno;
        ::unlink(infoPath.c_str());
        fail(L10n::text<"无法移到废纸篓：">(), original, error);
    }
}

} // namespace

bool FreedesktopTrash::trashItem(const fs::path& item, std::string* error) {
    try {
        const auto located = locate(item);
        // Checking the trash folders costs more system calls than the move itself, so a trash
        // found good is remembered per file system; should it have gone since, it is looked up
        // and checked afresh once.
        const std::pair key(paths::homeTrashDir().string(), located.device);
        std::optional<Location> known;
        {
            const std::lock_guard lock(mutex_);
            if (const auto found = known_.find(key); found != known_.end()) {
                known = found->second;
            }
        }
        if (known) {
            try {
                moveInto(*known, located.original);
                return true;
            } catch (const TrashFailure&) {
                const std::lock_guard lock(mutex_);
                known_.erase(key);
            }
        }
        const auto location = trashFor(located);
        {
            const std::lock_guard lock(mutex_);
            known_[key] = location;
        }
        moveInto(location, located.original);
        return true;
    } catch (const std::exception& failure) {
        if (error) {
            *error = failure.what();
        }
        return false;
    }
}

std::string FreedesktopTrash::trashInfo(const std::string& originalPath, std::time_t deletedAt) {
    std::tm local{};
    ::localtime_r(&deletedAt, &local);
    char date[32];
    std::strftime(date, sizeof date, "%Y-%m-%dT%H:%M:%S", &local);
    return "[Trash Info]\nPath=" + percentEncodedPath(originalPath) + "\nDeletionDate=" + date + "\n";
}

std::string FreedesktopTrash::percentEncodedPath(const std::string& path) {
    static constexpr char hex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(path.size());
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        if (std::isalnum(byte) && byte < 0x80) {
            out.push_back(c);
        } else if (c == '/' || c == '-' || c == '_' || c == '.' || c == '~') {
            out.push_back(c);
        } else {
            out.push_back('%');
            out.push_back(hex[byte >> 4]);
            out.push_back(hex[byte & 0x0F]);
        }
    }
    return out;
}

} // namespace quilla
