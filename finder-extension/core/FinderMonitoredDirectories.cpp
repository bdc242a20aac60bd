#include "finder-extension/core/FinderMonitoredDirectories.h"

#include "finder-extension/core/FinderPlaces.h"
#include "shared/QuillaPaths.h"

namespace quilla {
namespace {

void addWithVariants(std::set<std::string>& set, const std::filesystem::path& path) {
    set.merge(FinderMonitoredDirectories::normalizedDirectoryVariants(path));
}

void addMediaFolders(std::set<std::string>& set, const std::filesystem::path& root) {
    std::error_code ec;
    std::filesystem::directory_iterator it(root, ec);
    for (; !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
        const auto name = it->path().filename().string();
        std::error_code typeError;
        if (!name.starts_with(".") && it->is_directory(typeError)) {
            addWithVariants(set, it->path());
        }
    }
}

} // namespace

std::set<std::string> FinderMonitoredDirectories::normalizedDirectoryVariants(const std::filesystem::path& path) {
    std::set<std::string> variants{path.string()};
    auto normal = path.lexically_normal().string();
    if (normal.size() > 1 && normal.ends_with('/')) {
        normal.pop_back();
    }
    variants.insert(normal);
    std::error_code ec;
    const auto resolved = std::filesystem::canonical(path, ec);
    if (!ec) {
        variants.insert(resolved.string());
    }
    return variants;
}

std::set<std::string> FinderMonitoredDirectories::monitoredDirectoryPaths() {
    const auto places = FinderPlaces::current();
    std::set<std::string> set;
    addWithVariants(set, paths::applicationsDir());
    const auto mediaRoots = paths::removableMediaRoots();
    for (const auto& root : mediaRoots) {
        addWithVariants(set, root);
    }
    for (const auto* folder : {&places.home, &places.realHome, &places.desktop, &places.documents}) {
        addWithVariants(set, *folder);
    }
    using paths::UserDir;
    for (const auto which : {UserDir::desktop, UserDir::documents, UserDir::downloads, UserDir::movies,
                             UserDir::music, UserDir::pictures}) {
        addWithVariants(set, paths::userDir(which));
    }
    for (const auto& root : mediaRoots) {
        addMediaFolders(set, root);
    }
    return set;
}

} // namespace quilla
