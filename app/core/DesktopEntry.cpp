#include "app/core/DesktopEntry.h"

#include "shared/DesktopEntryLookup.h"
#include "shared/FileIO.h"

#include <algorithm>
#include <set>

namespace quilla {
namespace {

constexpr std::string_view kExtension = ".desktop";

// A desktop-file id names a file directly inside an applications folder.
bool isPlainDesktopFileID(std::string_view id) {
    return id.size() > kExtension.size() && id.ends_with(kExtension) && id.find('/') == std::string_view::npos &&
           id.front() != '.';
}

// The desktop-file id of a file below an applications folder: its relative path with '/' as '-'.
std::string desktopFileID(const std::filesystem::path& relative) {
    auto id = relative.generic_string();
    std::replace(id.begin(), id.end(), '/', '-');
    return id;
}

} // namespace

std::optional<DesktopEntry> DesktopEntry::parse(std::string_view text, std::filesystem::path path) {
    auto entry = DesktopEntryLookup::parse(text);
    if (!entry) {
        return std::nullopt;
    }
    return DesktopEntry{std::move(path),   std::move(entry->name), std::move(entry->exec),
                        entry->hidden,     entry->noDisplay,       std::move(entry->icon)};
}

std::optional<DesktopEntry> DesktopEntry::read(const std::filesystem::path& path) {
    auto text = readFileCapped(path, DesktopEntryLookup::kMaxEntryBytes);
    return text ? parse(*text, path) : std::nullopt;
}

std::vector<std::filesystem::path> DesktopEntry::applicationDirs() { return DesktopEntryLookup::applicationDirs(); }

std::optional<DesktopEntry> DesktopEntry::find(std::string_view id) {
    if (!isPlainDesktopFileID(id)) {
        return std::nullopt;
    }
    for (const auto& dir : applicationDirs()) {
        if (auto entry = read(dir / id)) {
            return entry->hidden ? std::nullopt : entry;
        }
    }
    return std::nullopt;
}

std::vector<DesktopEntry> DesktopEntry::installed() {
    namespace fs = std::filesystem;
    std::vector<DesktopEntry> result;
    std::set<std::string> seen; // an id found once hides the same id in later folders
    for (const auto& dir : applicationDirs()) {
        std::error_code ec;
        for (fs::recursive_directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
            if (it->path().extension() != kExtension || !it->is_regular_file(ec) ||
                !seen.insert(desktopFileID(it->path().lexically_relative(dir))).second) {
                continue;
            }
            auto entry = read(it->path());
            if (entry && !entry->hidden && !entry->noDisplay) {
                result.push_back(std::move(*entry));
            }
        }
    }
    return result;
}

bool DesktopEntry::isApplicationPath(const std::filesystem::path& path) {
    std::error_code ec;
    return path.extension() == kExtension && std::filesystem::is_regular_file(path, ec);
}

std::string DesktopEntry::displayName() const {
    return DesktopEntryLookup::displayName(DesktopEntryLookup::Entry{name, hidden, exec, noDisplay, icon}, path);
}

} // namespace quilla
