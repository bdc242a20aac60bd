#include "finder-extension/core/FinderPlaces.h"

#include "shared/QuillaPaths.h"

namespace quilla {

FinderPlaces FinderPlaces::current() {
    using paths::UserDir;
    // Linux has no sandbox container: the process's home is the user's real home.
    const auto home = paths::home();
    return {home,
            home,
            paths::userDir(UserDir::desktop),
            paths::userDir(UserDir::downloads),
            paths::userDir(UserDir::documents),
            paths::userDir(UserDir::pictures)};
}

} // namespace quilla
