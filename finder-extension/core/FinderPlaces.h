#pragma once

#include <filesystem>

namespace quilla {

class FinderSettingsFileCache;

/// The user's standard folders as the extension uses them, looked up once per menu.
struct FinderPlaces {
    std::filesystem::path home;     ///< the home folder of the process
    std::filesystem::path realHome; ///< the user's own home ($HOME, else the password database)
    std::filesystem::path desktop;
    std::filesystem::path downloads;
    std::filesystem::path documents;
    std::filesystem::path pictures;

    /// The folders as the environment reports them now.
    static FinderPlaces current();
    /// The same, reading user-dirs.dirs through `cache`.
    static FinderPlaces current(FinderSettingsFileCache& cache);
};

} // namespace quilla
