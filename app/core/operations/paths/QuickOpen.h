#pragma once

#include "app/core/executor/ExecutorContext.h"

#include <array>
#include <filesystem>
#include <optional>
#include <string_view>

namespace quilla {

/// Opening places in one click: fixed folders, a typed path, or the paths on the clipboard.
class QuickOpen final {
public:
    explicit QuickOpen(const ExecutorContext& context) : context_(context) {}

    /// The action IDs that open a folder.
    static const std::array<std::string_view, 7>& folderActionIDs();

    /// The place of a quick-open action: Desktop, Downloads and Documents from the XDG user
    /// folders, the applications folder, the project folder of this build, else the home folder.
    static std::filesystem::path defaultQuickOpenURL(std::string_view actionID);

    /// Opens `destination` (a favourite place) or the action's default place;
    /// noTargetDirectory when it is not an existing folder.
    void quickOpenFolder(std::string_view actionID, const std::optional<std::filesystem::path>& destination) const;

    /// Asks for a path and shows it; cancelling does nothing; invalidPath when nothing exists there.
    void quickOpenTypedPath() const;

    /// Shows the existing items on the clipboard (file URLs first, else paths in its text);
    /// noClipboardPath when there are none.
    void quickOpenClipboardPath() const;

private:
    ExecutorContext context_;
};

} // namespace quilla
