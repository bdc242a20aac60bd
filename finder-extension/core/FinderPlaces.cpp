#include "finder-extension/core/FinderPlaces.h"

#include "finder-extension/core/FinderSettingsFileCache.h"
#include "shared/FileIO.h"
#include "shared/QuillaPaths.h"

namespace quilla {

namespace {

std::optional<std::string> userDirsText(const std::optional<std::string>& bytes) { return bytes; }

FinderPlaces placesFrom(const std::optional<std::string>& userDirs) {
    using paths::UserDir;
    // Linux has no sandbox container: the process's home is the user's real home.
    const auto home = paths::home();
    return {home,
            home,
            paths::userDir(UserDir::desktop, userDirs),
            paths::userDir(UserDir::downloads, userDirs),
            paths::userDir(UserDir::documents, userDirs),
            paths::userDir(UserDir::pictures, userDirs)};
}

} // namespace

FinderPlaces FinderPlaces::current() {
    return placesFrom(readFileCapped(paths::userDirsFile(), paths::kMaxUserDirsBytes));
}

FinderPlaces FinderPlaces::current(FinderSettingsFileCache& cache) {
    return placesFrom(*cache.load<std::optional<std::string>>(paths::userDirsFile(), paths::kMaxUserDirsBytes,
                                                              &userDirsText));
}

} // namespace quilla
