#include "app/core/runner/LeftoverFiles.h"

#include "shared/DiagnosticLog.h"
#include "shared/FileIO.h"
#include "shared/QuillaPaths.h"

#include <fcntl.h>
#include <regex>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace quilla {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::system_clock;

// mkstemp fills its six X with letters and digits; new UUIDs are upper-case hexadecimal.
const std::string kRandom6 = "[A-Za-z0-9]{6}";
const std::string kUUID = "[0-9A-Fa-f]{8}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{12}";

const std::regex& partialOutputPattern() {
    static const std::regex pattern(R"(\.quilla-(archive-)" + kUUID + R"(\.zip|extracting-)" + kUUID + "|" +
                                    kRandom6 + R"((\.[A-Za-z0-9]+)?))");
    return pattern;
}
/// ".NAME.XXXXXX". A suffix of six lower-case letters is far more likely a user's own name
/// (".notes.backup") than a random one, so it is left alone.
const std::regex& temporaryPattern() {
    static const std::regex pattern(R"(\..+\.(?![a-z]{6}$))" + kRandom6);
    return pattern;
}
const std::regex& renamingPattern() {
    static const std::regex pattern(R"(\.quilla-renaming-)" + kUUID + ".*");
    return pattern;
}
const std::regex& workFolderPattern() {
    static const std::regex pattern("quilla-[a-z]+-" + kUUID);
    return pattern;
}
const std::regex& settingsTemporaryPattern() {
    static const std::regex pattern(R"(\..+\.plist\.)" + kRandom6);
    return pattern;
}

bool matches(std::string_view name, const std::regex& pattern) {
    return std::regex_match(name.begin(), name.end(), pattern);
}

void log(const std::string& message) {
    appendDiagnosticLog(paths::appActionLogPath(), message);
}

std::vector<std::string> namesIn(const fs::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return {};
    }
    auto names = entryNames(fd);
    ::close(fd);
    return names;
}

/// Whether `item` (not followed) is this user's and was last changed at or after `since`. A
/// second of slack covers file systems with coarse times.
bool isOwnSince(const fs::path& item, Clock::time_point since) {
    struct stat info {};
    if (::lstat(item.c_str(), &info) != 0 || info.st_uid != ::geteuid()) {
        return false;
    }
    return Clock::from_time_t(info.st_mtime) + std::chrono::seconds(1) >= since;
}

void removeItem(const fs::path& item, std::string_view what) {
    std::error_code ec;
    fs::remove_all(item, ec); // a link is removed, never followed
    log(std::string(what) + (ec ? " not removed: " : " removed: ") + item.string() +
        (ec ? " error=" + ec.message() : std::string()));
}

} // namespace

std::optional<LeftoverFiles::Kind> LeftoverFiles::classify(std::string_view name) {
    if (matches(name, renamingPattern())) {
        return Kind::renamingItem;
    }
    if (matches(name, partialOutputPattern())) {
        return Kind::partialOutput;
    }
    if (matches(name, temporaryPattern())) {
        return Kind::temporary;
    }
    return std::nullopt;
}

bool LeftoverFiles::isWorkFolder(std::string_view name) {
    return matches(name, workFolderPattern());
}

bool LeftoverFiles::isSettingsTemporary(std::string_view name) {
    return matches(name, settingsTemporaryPattern());
}

void LeftoverFiles::clearFolder(const fs::path& folder, Clock::time_point since) {
    for (const auto& name : namesIn(folder)) {
        const auto kind = classify(name);
        const fs::path item = folder / name;
        if (!kind || !isOwnSince(item, since)) {
            continue;
        }
        if (*kind == Kind::renamingItem) {
            log("item of an interrupted rename kept: " + item.string());
        } else {
            removeItem(item, "partial output of an interrupted action");
        }
    }
}

void LeftoverFiles::clearWorkFolders(Clock::time_point since) {
    const fs::path folder = paths::tempDir();
    for (const auto& name : namesIn(folder)) {
        if (isWorkFolder(name) && isOwnSince(folder / name, since)) {
            removeItem(folder / name, "work folder of an interrupted action");
        }
    }
}

void LeftoverFiles::clearSettingsTemporaries() {
    for (const auto& folder : {paths::appSupportDir(), paths::extensionSupportDir()}) {
        for (const auto& name : namesIn(folder)) {
            if (isSettingsTemporary(name) && isOwnSince(folder / name, Clock::time_point{})) {
                removeItem(folder / name, "temporary of an interrupted save");
            }
        }
    }
}

} // namespace quilla
