#include "shared/QuillaPaths.h"

#include "shared/FileIO.h"

#include <cerrno>
#include <cstdlib>
#include <pwd.h>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace quilla::paths {
namespace {

std::optional<fs::path> absoluteVariable(const char* name) {
    const char* value = std::getenv(name);
    if (!value || !*value) {
        return std::nullopt;
    }
    fs::path path(value);
    if (!path.is_absolute()) {
        return std::nullopt;
    }
    return path;
}

const passwd* passwordEntry() {
    return ::getpwuid(::getuid());
}

// user-dirs.dirs lines look like XDG_DESKTOP_DIR="$HOME/Desktop"; only "$HOME/…" and
// absolute paths are valid values.
std::optional<fs::path> userDirFromText(std::string_view text, const std::string& key) {
    std::istringstream lines{std::string(text)};
    std::string line;
    const std::string prefix = key + "=\"";
    while (std::getline(lines, line)) {
        if (!line.starts_with(prefix) || line.size() < prefix.size() + 1 || line.back() != '"') {
            continue;
        }
        std::string value = line.substr(prefix.size(), line.size() - prefix.size() - 1);
        if (value.starts_with("$HOME")) {
            std::string rest = value.substr(5);
            while (!rest.empty() && rest.front() == '/') {
                rest.erase(rest.begin());
            }
            return rest.empty() ? home() : home() / rest;
        }
        if (!value.empty() && value.front() == '/') {
            return fs::path(value);
        }
    }
    return std::nullopt;
}

} // namespace

fs::path home() {
    if (const char* value = std::getenv("HOME"); value && *value) {
        return fs::path(value);
    }
    if (const passwd* entry = passwordEntry(); entry && entry->pw_dir) {
        return fs::path(entry->pw_dir);
    }
    return fs::path("/");
}

fs::path configHome() { return absoluteVariable("XDG_CONFIG_HOME").value_or(home() / ".config"); }
fs::path dataHome() { return absoluteVariable("XDG_DATA_HOME").value_or(home() / ".local" / "share"); }
fs::path stateHome() { return absoluteVariable("XDG_STATE_HOME").value_or(home() / ".local" / "state"); }
std::optional<fs::path> runtimeDir() { return absoluteVariable("XDG_RUNTIME_DIR"); }
fs::path tempDir() { return absoluteVariable("TMPDIR").value_or(fs::path("/tmp")); }

fs::path appSupportDir() { return configHome() / "quilla"; }
fs::path extensionSupportDir() { return appSupportDir() / "finder-extension"; }
fs::path primaryQueueDir() { return extensionSupportDir() / "ActionQueue"; }

fs::path fallbackQueueDir() {
    if (auto runtime = runtimeDir()) {
        return *runtime / "quilla-action-queue";
    }
    return fs::path("/tmp") / ("quilla-action-queue-" + std::to_string(::getuid()));
}

bool isPrivateDirectory(const fs::path& dir) {
    struct stat info {};
    if (::lstat(dir.c_str(), &info) != 0) {
        return false;
    }
    return isPrivateDirectoryStatus(info.st_mode, info.st_uid);
}

// The effective user is who the files are created as, so it is who must own the folder.
bool isPrivateDirectoryStatus(unsigned mode, unsigned owner) {
    return S_ISDIR(mode) && owner == ::geteuid() && (mode & (S_IWGRP | S_IWOTH)) == 0;
}

bool ensurePrivateDirectory(const fs::path& dir) {
    if (::mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST) {
        std::error_code ec;
        fs::create_directories(dir.parent_path(), ec);
        ::mkdir(dir.c_str(), 0700);
    }
    return isPrivateDirectory(dir);
}

fs::path appActionLogPath() { return stateHome() / "quilla" / "quilla-app-action.log"; }
fs::path extensionLogPath() { return extensionSupportDir() / "FinderExtension.log"; }
fs::path shortcutsDir() { return appSupportDir() / "shortcuts"; }
fs::path autostartDir() { return configHome() / "autostart"; }
fs::path homeTrashDir() { return dataHome() / "Trash"; }

fs::path userDir(UserDir which, const std::optional<std::string>& userDirsText) {
    struct Entry {
        const char* key;
        const char* fallback;
    };
    static constexpr Entry kEntries[] = {
        {"XDG_DESKTOP_DIR", "Desktop"},     {"XDG_DOWNLOAD_DIR", "Downloads"}, {"XDG_DOCUMENTS_DIR", "Documents"},
        {"XDG_PICTURES_DIR", "Pictures"},   {"XDG_VIDEOS_DIR", "Videos"},     {"XDG_MUSIC_DIR", "Music"},
    };
    const Entry& entry = kEntries[static_cast<int>(which)];
    const auto fromFile = userDirsText ? userDirFromText(*userDirsText, entry.key) : std::nullopt;
    return fromFile.value_or(home() / entry.fallback);
}

fs::path userDir(UserDir which) { return userDir(which, readFileCapped(userDirsFile(), kMaxUserDirsBytes)); }

fs::path userDirsFile() { return configHome() / "user-dirs.dirs"; }

fs::path applicationsDir() { return "/usr/share/applications"; }

std::vector<fs::path> removableMediaRoots() {
    std::vector<fs::path> roots;
    const std::string name = userName();
    for (const char* base : {"/media", "/run/media"}) {
        std::error_code ec;
        const fs::path root = fs::path(base) / name;
        if (!name.empty() && fs::is_directory(root, ec)) {
            roots.push_back(root);
        }
    }
    return roots;
}

std::string userName() {
    if (const passwd* entry = passwordEntry(); entry && entry->pw_name) {
        return entry->pw_name;
    }
    if (const char* value = std::getenv("USER"); value && *value) {
        return value;
    }
    return {};
}

} // namespace quilla::paths
