#include "finder-extension/nautilus/NautilusFileSelection.h"

#include "finder-extension/nautilus/GLibPointers.h"

namespace quilla {
namespace {

using FilePtr = GObjectPtr<GFile>;

FilePtr locationOf(gpointer info) {
    if (!NAUTILUS_IS_FILE_INFO(info)) {
        return nullptr;
    }
    return FilePtr(nautilus_file_info_get_location(NAUTILUS_FILE_INFO(info)));
}

// Only file:// locations have a path the application can work on; gvfs locations such as
// trash:// or smb:// would hand it names it cannot open.
std::optional<std::string> localPath(GFile* location) {
    if (!location || !g_file_has_uri_scheme(location, "file")) {
        return std::nullopt;
    }
    const GCharPtr path(g_file_get_path(location));
    if (!path) {
        return std::nullopt;
    }
    return std::string(path.get());
}

std::optional<std::string> parentPath(GFile* location) {
    const FilePtr parent(g_file_get_parent(location));
    return parent ? localPath(parent.get()) : std::nullopt;
}

} // namespace

std::optional<NautilusFileSelection> NautilusFileSelection::forFiles(GList* files) {
    NautilusFileSelection selection;
    for (GList* node = files; node; node = node->next) {
        const FilePtr location = locationOf(node->data);
        auto path = localPath(location.get());
        if (!path) {
            return std::nullopt;
        }
        if (selection.selectedPaths.empty()) {
            selection.targetedPath = parentPath(location.get());
        }
        selection.selectedPaths.push_back(std::move(*path));
    }
    if (selection.selectedPaths.empty()) {
        return std::nullopt;
    }
    return selection;
}

std::optional<NautilusFileSelection> NautilusFileSelection::forFolder(NautilusFileInfo* folder) {
    const FilePtr location = locationOf(folder);
    auto path = localPath(location.get());
    if (!path) {
        return std::nullopt;
    }
    return NautilusFileSelection{{}, std::move(path)};
}

} // namespace quilla
