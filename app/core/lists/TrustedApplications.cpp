#include "app/core/lists/TrustedApplications.h"

#include "app/core/DesktopEntry.h"
#include "app/core/lists/CustomDestinationKind.h"
#include "app/core/lists/CustomDestinationPersistence.h"

#include <algorithm>

namespace quilla {
namespace {

namespace fs = std::filesystem;

bool isListedByUser(const fs::path& entry) {
    const auto lists = CustomDestinationPersistence::load();
    if (!lists) {
        return false;
    }
    const auto found = lists->find(std::string(rawValue(CustomDestinationKind::openApplication)));
    if (found == lists->end()) {
        return false;
    }
    const fs::path wanted = entry.lexically_normal();
    return std::any_of(found->second.begin(), found->second.end(), [&](const CustomDestination& destination) {
        return fs::path(destination.path).lexically_normal() == wanted;
    });
}

/// Whether `folder` is `root` or lies below it, both with links and ".." resolved.
bool isWithin(const fs::path& folder, const fs::path& root) {
    std::error_code ec;
    const fs::path resolvedRoot = fs::weakly_canonical(root, ec);
    if (ec || resolvedRoot.empty()) {
        return false;
    }
    const auto relative = folder.lexically_relative(resolvedRoot);
    return !relative.empty() && *relative.begin() != "..";
}

bool isInstalled(const fs::path& entry) {
    std::error_code ec;
    // The folder is resolved, not the entry: a link inside a standard folder was put there by
    // whoever may write there, and "../" must not climb out of it.
    const fs::path folder = fs::weakly_canonical(entry.parent_path(), ec);
    if (ec) {
        return false;
    }
    const auto roots = DesktopEntry::applicationDirs();
    return std::any_of(roots.begin(), roots.end(),
                       [&](const fs::path& root) { return isWithin(folder, root); });
}

} // namespace

bool TrustedApplications::mayOpen(const fs::path& desktopEntry) {
    return desktopEntry.is_absolute() && DesktopEntry::isApplicationPath(desktopEntry) &&
           (isInstalled(desktopEntry) || isListedByUser(desktopEntry));
}

} // namespace quilla
