#pragma once

#include "finder-extension/core/FinderPlaces.h"

#include <array>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quilla {

class FinderSettingsFileCache;

/// The four destination lists; raw values are the keys of CustomDestinations.plist.
enum class FinderCustomDestinationKind { copy, move, quickOpen, openApplication };

inline constexpr std::array<FinderCustomDestinationKind, 4> allFinderCustomDestinationKinds{
    FinderCustomDestinationKind::copy, FinderCustomDestinationKind::move, FinderCustomDestinationKind::quickOpen,
    FinderCustomDestinationKind::openApplication};

/// "copy", "move", "quickOpen" or "openApplication".
std::string_view rawValue(FinderCustomDestinationKind kind);

/// One favourite folder or application: a stable ID, the name shown and an absolute path.
struct FinderCustomDestination {
    std::string id;
    std::string name;
    std::string path;

    bool operator==(const FinderCustomDestination&) const = default;
};

/// The extension's read-only view of CustomDestinations.plist, completed with built-in defaults.
class FinderCustomDestinationSettings final {
public:
    /// The lists as stored, by kind raw value; nothing when the file is missing, damaged or not
    /// shaped as a dictionary of arrays of string dictionaries. Entries lacking "id", "name" or
    /// "path" are already skipped.
    using StoredLists = std::optional<std::map<std::string, std::vector<FinderCustomDestination>>>;

    static std::filesystem::path settingsFilePath();

    /// The destinations of one kind, reading the file now.
    static std::vector<FinderCustomDestination> destinations(FinderCustomDestinationKind kind);
    /// The same, reusing parsed files (the list file and desktop entries) while they are unchanged.
    static std::vector<FinderCustomDestination> destinations(FinderCustomDestinationKind kind,
                                                             FinderSettingsFileCache& cache, const FinderPlaces& places);
    /// The rule itself: stored lists (or their absence) completed with the defaults of the kind.
    static std::vector<FinderCustomDestination> destinations(FinderCustomDestinationKind kind, const StoredLists& stored,
                                                             FinderSettingsFileCache& cache, const FinderPlaces& places);

    /// Parses the file's bytes.
    static StoredLists storedLists(const std::optional<std::string>& bytes);
    /// The stored lists, reusing the last parse while the file is unchanged.
    static std::shared_ptr<const StoredLists> storedLists(FinderSettingsFileCache& cache);

    /// Desktop, Downloads and Documents, named "桌面", "下载", "文稿" (the names are also the IDs).
    static std::vector<FinderCustomDestination> defaultFileDestinations(const FinderPlaces& places);
    /// Home, the file destinations, Pictures and the applications folder.
    static std::vector<FinderCustomDestination> defaultQuickOpenDestinations(const FinderPlaces& places);
    /// The built-in applications that are installed, each as its desktop entry.
    static std::vector<FinderCustomDestination> defaultApplicationDestinations(FinderSettingsFileCache& cache);

    /// Whether a copy or move destination is one of the user's Desktop, Downloads or Documents
    /// folders, which the catalog's own children already offer.
    static bool isBuiltInFileDestination(const FinderCustomDestination& destination, FinderCustomDestinationKind kind,
                                         const FinderPlaces& places);
    /// The destinations of `list` that are not built-in file destinations, in order.
    static std::vector<FinderCustomDestination> withoutBuiltInFileDestinations(
        const std::vector<FinderCustomDestination>& list, FinderCustomDestinationKind kind, const FinderPlaces& places);
};

} // namespace quilla
