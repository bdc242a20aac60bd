#include "finder-extension/core/FinderCustomDestinationSettings.h"

#include "finder-extension/core/FinderFeatureSettings.h"
#include "finder-extension/core/FinderSettingsFileCache.h"
#include "finder-extension/core/StringDictionary.h"
#include "shared/DesktopEntryLookup.h"
#include "shared/L10n.h"
#include "shared/PropertyList.h"
#include "shared/QuillaPaths.h"
#include "shared/SettingsFiles.h"

#include <algorithm>
#include <set>

namespace quilla {
namespace {

using Kind = FinderCustomDestinationKind;
using Entry = std::optional<DesktopEntryLookup::Entry>;

Entry desktopEntry(const std::optional<std::string>& bytes) {
    return bytes ? DesktopEntryLookup::parse(*bytes) : std::nullopt;
}

std::optional<std::vector<FinderCustomDestination>> destinationList(const plist::Value& value) {
    const plist::Array* array = value.asArray();
    if (!array) {
        return std::nullopt;
    }
    std::vector<FinderCustomDestination> list;
    for (const auto& item : *array) {
        auto entry = stringDictionary(item);
        if (!entry) {
            return std::nullopt;
        }
        const auto id = entry->find("id"), name = entry->find("name"), path = entry->find("path");
        if (id != entry->end() && name != entry->end() && path != entry->end()) {
            list.push_back({id->second, name->second, path->second});
        }
    }
    return list;
}

// "a/b", "a/b/" and "a/./b" name the same folder.
std::filesystem::path folderForm(const std::filesystem::path& path) {
    auto normal = path.lexically_normal();
    if (!normal.has_filename() && normal.has_relative_path()) {
        normal = normal.parent_path();
    }
    return normal;
}

std::array<std::filesystem::path, 3> builtInFolders(const FinderPlaces& places) {
    return {folderForm(places.desktop), folderForm(places.downloads), folderForm(places.documents)};
}

bool isAmong(const std::filesystem::path& path, const std::array<std::filesystem::path, 3>& folders) {
    return std::find(folders.begin(), folders.end(), folderForm(path)) != folders.end();
}

// The built-in applications come first; stored entries follow unless they stand for one of them.
std::vector<FinderCustomDestination> defaultsFirst(std::vector<FinderCustomDestination> defaults,
                                                   const std::vector<FinderCustomDestination>& stored) {
    std::vector<FinderCustomDestination> result = defaults;
    for (const auto& entry : stored) {
        if (DesktopEntryLookup::isLegacyDeveloperApplication(entry.id, entry.path)) {
            continue;
        }
        const bool matchesDefault = std::any_of(defaults.begin(), defaults.end(), [&](const auto& builtIn) {
            return builtIn.id == entry.id || builtIn.path == entry.path;
        });
        if (!matchesDefault) {
            result.push_back(entry);
        }
    }
    return result;
}

struct InstalledEntry {
    std::string name;
    std::string path;
};

// Which of the built-in applications' desktop files a folder holds. Listing the folder once (and
// again only when it changes) spares a look-up per candidate and folder on every menu.
std::set<std::string> candidateFilesIn(const std::filesystem::path& dir) {
    std::set<std::string> candidates;
    for (const auto& application : DesktopEntryLookup::defaultApplications()) {
        for (const auto fileID : application.desktopFileIDs) {
            if (!fileID.empty()) {
                candidates.emplace(fileID);
            }
        }
    }
    std::set<std::string> present;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(dir, ec); !ec && it != std::filesystem::directory_iterator();
         it.increment(ec)) {
        auto name = it->path().filename().string();
        if (candidates.contains(name)) {
            present.insert(std::move(name));
        }
    }
    return present;
}

struct ApplicationFolder {
    std::filesystem::path path;
    std::shared_ptr<const std::set<std::string>> candidates; // the built-in applications' files it holds
};

// The entry with this desktop-file ID in the first folder that has one; a Hidden entry there
// removes the application (it hides the copies of the folders after it).
std::optional<InstalledEntry> installedEntry(std::string_view fileID,
                                             const std::vector<ApplicationFolder>& folders,
                                             FinderSettingsFileCache& cache) {
    for (const auto& folder : folders) {
        if (!folder.candidates->contains(std::string(fileID))) {
            continue;
        }
        const auto path = folder.path / fileID;
        const auto entry = cache.load<Entry>(path, DesktopEntryLookup::kMaxEntryBytes, &desktopEntry);
        if (*entry) {
            if ((*entry)->hidden) {
                return std::nullopt;
            }
            return InstalledEntry{DesktopEntryLookup::displayName(**entry, path), path.string()};
        }
    }
    return std::nullopt;
}

std::vector<FinderCustomDestination> defaultsOf(Kind kind, FinderSettingsFileCache& cache,
                                                const FinderPlaces& places) {
    switch (kind) {
    case Kind::copy:
    case Kind::move:
        return FinderCustomDestinationSettings::defaultFileDestinations(places);
    case Kind::quickOpen:
        return FinderCustomDestinationSettings::defaultQuickOpenDestinations(places);
    case Kind::openApplication:
        break;
    }
    return FinderCustomDestinationSettings::defaultApplicationDestinations(cache);
}

} // namespace

std::string_view rawValue(FinderCustomDestinationKind kind) {
    switch (kind) {
    case Kind::copy:
        return "copy";
    case Kind::move:
        return "move";
    case Kind::quickOpen:
        return "quickOpen";
    case Kind::openApplication:
        break;
    }
    return "openApplication";
}

std::filesystem::path FinderCustomDestinationSettings::settingsFilePath() {
    return paths::extensionSupportDir() / settings_files::kCustomDestinations;
}

std::vector<FinderCustomDestination> FinderCustomDestinationSettings::destinations(Kind kind) {
    FinderSettingsFileCache cache;
    return destinations(kind, cache, FinderPlaces::current(cache));
}

std::vector<FinderCustomDestination>
FinderCustomDestinationSettings::destinations(Kind kind, FinderSettingsFileCache& cache,
                                              const FinderPlaces& places) {
    return destinations(kind, *storedLists(cache), cache, places);
}

std::shared_ptr<const FinderCustomDestinationSettings::StoredLists>
FinderCustomDestinationSettings::storedLists(FinderSettingsFileCache& cache) {
    return cache.load<StoredLists>(settingsFilePath(), plist::kMaxFileBytes, &storedLists);
}

std::vector<FinderCustomDestination>
FinderCustomDestinationSettings::destinations(Kind kind, const StoredLists& stored,
                                              FinderSettingsFileCache& cache, const FinderPlaces& places) {
    const std::vector<FinderCustomDestination>* list = nullptr;
    if (stored) {
        if (const auto it = stored->find(std::string(rawValue(kind))); it != stored->end()) {
            list = &it->second; // taken as stored, even when empty
        }
    }
    if (kind == Kind::openApplication) {
        const auto defaults = defaultApplicationDestinations(cache);
        return list ? defaultsFirst(defaults, *list) : defaults;
    }
    return list ? *list : defaultsOf(kind, cache, places);
}

FinderCustomDestinationSettings::StoredLists
FinderCustomDestinationSettings::storedLists(const std::optional<std::string>& bytes) {
    const auto root = bytes ? plist::parse(*bytes) : std::nullopt;
    const plist::Dict* dict = root ? root->asDict() : nullptr;
    if (!dict) {
        return std::nullopt;
    }
    std::map<std::string, std::vector<FinderCustomDestination>> lists;
    for (const auto& [key, value] : *dict) {
        auto list = destinationList(value);
        if (!list) {
            return std::nullopt;
        }
        lists.emplace(key, std::move(*list));
    }
    return lists;
}

std::vector<FinderCustomDestination>
FinderCustomDestinationSettings::defaultFileDestinations(const FinderPlaces& places) {
    std::vector<FinderCustomDestination> result;
    // The id stays the key whatever the language; the name is what the user reads.
    for (const auto& [key, folder] :
         {std::pair{L10n::key<"桌面">(), &places.desktop}, std::pair{L10n::key<"下载">(), &places.downloads},
          std::pair{L10n::key<"文稿">(), &places.documents}}) {
        if (!folder->empty()) {
            result.push_back({std::string(key), L10n::text(key), folder->string()});
        }
    }
    return result;
}

std::vector<FinderCustomDestination>
FinderCustomDestinationSettings::defaultQuickOpenDestinations(const FinderPlaces& places) {
    std::vector<FinderCustomDestination> result{{"home", L10n::text<"用户目录">(), places.home.string()}};
    for (auto& destination : defaultFileDestinations(places)) {
        result.push_back(std::move(destination));
    }
    if (!places.pictures.empty()) {
        result.push_back({"pictures", L10n::text<"图片">(), places.pictures.string()});
    }
    result.push_back({"applications", L10n::text<"应用程序">(), paths::applicationsDir().string()});
    return result;
}

std::vector<FinderCustomDestination>
FinderCustomDestinationSettings::defaultApplicationDestinations(FinderSettingsFileCache& cache) {
    std::vector<ApplicationFolder> folders;
    for (auto& dir : DesktopEntryLookup::applicationDirs()) {
        auto candidates = cache.loadFolder<std::set<std::string>>(dir, &candidateFilesIn);
        folders.push_back({std::move(dir), std::move(candidates)});
    }
    std::vector<FinderCustomDestination> result;
    for (const auto& application : DesktopEntryLookup::defaultApplications()) {
        for (const auto fileID : application.desktopFileIDs) {
            auto installed = fileID.empty() ? std::nullopt : installedEntry(fileID, folders, cache);
            if (installed) {
                result.push_back(
                    {std::string(application.id), std::move(installed->name), std::move(installed->path)});
                break;
            }
        }
    }
    return result;
}

bool FinderCustomDestinationSettings::isBuiltInFileDestination(const FinderCustomDestination& destination,
                                                               Kind kind, const FinderPlaces& places) {
    if (kind != Kind::copy && kind != Kind::move) {
        return false;
    }
    return isAmong(destination.path, builtInFolders(places));
}

std::vector<FinderCustomDestination> FinderCustomDestinationSettings::withoutBuiltInFileDestinations(
    const std::vector<FinderCustomDestination>& list, Kind kind, const FinderPlaces& places) {
    if (kind != Kind::copy && kind != Kind::move) {
        return list;
    }
    const auto folders = builtInFolders(places);
    std::vector<FinderCustomDestination> result;
    std::copy_if(
        list.begin(), list.end(), std::back_inserter(result),
        [&](const FinderCustomDestination& destination) { return !isAmong(destination.path, folders); });
    return result;
}

} // namespace quilla
