#include "app/core/PrivateComponents.h"

#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace quilla {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kPrivateFolder = "lib/quilla";

bool isFile(const fs::path& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

/// Owned by root or by this user, and writable by nobody else (a group write bit counts only
/// for the user's own primary group, as umask 002 leaves it): a component is code this program
/// runs, so a folder others may write to (a copy of `quilla` started from /tmp/x/bin) never
/// supplies one.
bool isTrusted(const fs::path& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || (info.st_uid != 0 && info.st_uid != ::getuid())) {
        return false;
    }
    const bool othersWrite = (info.st_mode & S_IWOTH) != 0;
    const bool groupWrite = (info.st_mode & S_IWGRP) != 0 && info.st_gid != ::getgid();
    return !othersWrite && !groupWrite;
}

/// True for a program in PREFIX/lib/quilla/.
bool runsFromPrivateFolder(const fs::path& executable) {
    const auto folder = executable.parent_path();
    return folder.filename() == "quilla" && folder.parent_path().filename() == "lib";
}

} // namespace

std::optional<fs::path> PrivateComponents::runningExecutable() {
    std::error_code ec;
    auto path = fs::read_symlink("/proc/self/exe", ec).string();
    if (ec || path.empty()) {
        return std::nullopt;
    }
    // A program replaced on disk while it runs (a reinstall) reads as "PATH (deleted)".
    constexpr std::string_view deleted = " (deleted)";
    if (path.ends_with(deleted)) {
        path.resize(path.size() - deleted.size());
    }
    return fs::path(path);
}

std::optional<fs::path> PrivateComponents::locate(std::string_view name, const fs::path& executable) {
    const auto candidate = runsFromPrivateFolder(executable)
                               ? executable.parent_path() / name
                               : executable.parent_path().parent_path() / kPrivateFolder / name;
    if (isFile(candidate) && isTrusted(candidate) && isTrusted(candidate.parent_path())) {
        return candidate;
    }
    return std::nullopt;
}

std::optional<fs::path> PrivateComponents::locate(std::string_view name) {
    const auto self = runningExecutable();
    return self ? locate(name, *self) : std::nullopt;
}

fs::path PrivateComponents::frontEnd(const fs::path& executable) {
    if (runsFromPrivateFolder(executable)) {
        const auto front = executable.parent_path().parent_path().parent_path() / "bin" / "quilla";
        if (isFile(front)) {
            return front;
        }
    }
    return executable;
}

} // namespace quilla
