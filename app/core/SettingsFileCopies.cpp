#include "app/core/SettingsFileCopies.h"

#include "shared/FileIO.h"
#include "shared/QuillaPaths.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>

namespace quilla {

SettingsFileCopies::SettingsFileCopies(std::string fileName, std::string reason,
                                       QuillaSettingsChangeNotifier& notifier)
    : fileName_(std::move(fileName)), reason_(std::move(reason)), notifier_(notifier) {}

std::filesystem::path SettingsFileCopies::applicationCopy() const {
    return paths::appSupportDir() / fileName_;
}

std::filesystem::path SettingsFileCopies::extensionCopy() const {
    return paths::extensionSupportDir() / fileName_;
}

std::optional<plist::Dict> SettingsFileCopies::load() const {
    const auto path = applicationCopy();
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) {
        return std::nullopt;
    }
    auto root = plist::readFile(path);
    if (root && root->asDict()) {
        return *root->asDict();
    }
    keepDamagedFileAside(path);
    return std::nullopt;
}

bool SettingsFileCopies::save(const plist::Value& root) const {
    const std::string xml = plist::toXML(root);
    // A file the readers would refuse as too large is never written.
    if (xml.empty() || xml.size() > plist::kMaxFileBytes) {
        return false;
    }
    if (!writeFileAtomically(applicationCopy(), xml) || !writeFileAtomically(extensionCopy(), xml)) {
        return false;
    }
    notifier_.post(reason_);
    return true;
}

std::optional<std::filesystem::path> keepDamagedFileAside(const std::filesystem::path& path) {
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm parts{};
    gmtime_r(&now, &parts);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%dT%H%M%SZ", &parts);
    // Never over an earlier copy kept aside within the same second.
    for (int attempt = 1; attempt <= 100; ++attempt) {
        auto aside = path;
        aside += std::string(".bad-") + stamp + (attempt > 1 ? "-" + std::to_string(attempt) : "");
        if (::renameat2(AT_FDCWD, path.c_str(), AT_FDCWD, aside.c_str(), RENAME_NOREPLACE) == 0) {
            return aside;
        }
        const int error = errno;
        if (error == EINVAL || error == ENOSYS) { // a file system without the no-replace flag
            struct stat info {};
            if (::lstat(aside.c_str(), &info) == 0) {
                continue;
            }
            return ::rename(path.c_str(), aside.c_str()) == 0 ? std::optional(aside) : std::nullopt;
        }
        if (error != EEXIST) {
            return std::nullopt;
        }
    }
    return std::nullopt;
}

} // namespace quilla
