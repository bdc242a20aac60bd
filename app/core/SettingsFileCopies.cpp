#include "app/core/SettingsFileCopies.h"

#include "shared/FileIO.h"
#include "shared/QuillaPaths.h"

#include <chrono>
#include <ctime>
#include <sys/stat.h>

namespace quilla {

SettingsFileCopies::SettingsFileCopies(std::string fileName, std::string reason,
                                       QuillaSettingsChangeNotifier& notifier)
    : fileName_(std::move(fileName)), reason_(std::move(reason)), notifier_(notifier) {}

std::filesystem::path SettingsFileCopies::applicationCopy() const { return paths::appSupportDir() / fileName_; }

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
    if (xml.empty()) {
        return false;
    }
    if (!writeFileAtomically(applicationCopy(), xml) || !writeFileAtomically(extensionCopy(), xml)) {
        return false;
    }
    notifier_.post(reason_);
    return true;
}

bool keepDamagedFileAside(const std::filesystem::path& path) {
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm parts{};
    gmtime_r(&now, &parts);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%dT%H%M%SZ", &parts);
    auto aside = path;
    aside += std::string(".bad-") + stamp;
    std::error_code ec;
    std::filesystem::rename(path, aside, ec);
    return !ec;
}

} // namespace quilla
