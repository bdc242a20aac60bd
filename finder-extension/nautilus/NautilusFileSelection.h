#pragma once

#include <optional>
#include <string>
#include <vector>

#include "finder-extension/nautilus/NautilusApi.h"

namespace quilla {

/// What one menu request of GNOME Files is about: the selected items and the folder, as local
/// file-system paths (raw bytes, not necessarily UTF-8).
struct NautilusFileSelection {
    std::vector<std::string> selectedPaths;
    std::optional<std::string> targetedPath;

    bool operator==(const NautilusFileSelection&) const = default;

    /// A right-click on items: the items are the selection, the folder of the first one is the
    /// target. Nothing when the list is empty or any item is not a local (file://) location.
    static std::optional<NautilusFileSelection> forFiles(GList* files);
    /// A right-click on a window background: no selection, the folder is the target. Nothing
    /// when the folder is missing or not a local (file://) location.
    static std::optional<NautilusFileSelection> forFolder(NautilusFileInfo* folder);
};

} // namespace quilla
