#include "app/core/DesktopEntry.h"

#include "shared/DesktopEntryLookup.h"
#include "shared/FileIO.h"

namespace quilla {
namespace {

constexpr std::string_view kExtension = ".desktop";

// A desktop-file id names a file directly inside an applications folder.
bool isPlainDesktopFileID(std::string_view id) {
    return id.size() > kExtension.size() && id.ends_with(kExtension) && id.find('/') == std::string_view::npos &&
           id.front() != '.';
}

} // namespace

std::optional<DesktopEntry> DesktopEntry::parse(std::string_view text, std::filesystem::path path) {
    auto entry = DesktopEntryLookup::parse(text);
    if (!entry) {
        return std::nullopt;
    }
    return DesktopEntry{std::move(path), std::move(entry->name), std::move(entry->exec), entry->hidden,
                        entry->noDisplay};
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

bool DesktopEntry::isApplicationPath(const std::filesystem::path& path) {
    std::error_code ec;
    return path.extension() == kExtension && std::filesystem::is_regular_file(path, ec);
}

std::string DesktopEntry::displayName() const {
    return DesktopEntryLookup::displayName(DesktopEntryLookup::Entry{name, hidden, exec, noDisplay}, path);
}

} // namespace quilla
