#pragma once

#include "app/core/platform/Trash.h"

#include <ctime>
#include <filesystem>
#include <map>
#include <mutex>
#include <string>
#include <sys/types.h>
#include <utility>

namespace quilla {

/// The desktop Trash as the freedesktop.org trash layout defines it. Items on the home file system
/// go to $XDG_DATA_HOME/Trash; items on another mount go to "$topdir/.Trash/$uid" when the
/// administrator made "$topdir/.Trash" (a sticky folder, not a link), else to "$topdir/.Trash-$uid"
/// (created when allowed). Each item gets "info/NAME.trashinfo" with its percent-encoded path and
/// local deletion time; clashing names get ".2", ".3", … appended. A link is moved as the link.
/// Nothing is ever deleted: without a usable trash the item stays and the call fails. The trash
/// found for a file system is remembered by this object while it stays usable. Thread-safe.
class FreedesktopTrash final : public Trash {
public:
    bool trashItem(const std::filesystem::path& item, std::string* error = nullptr) override;

    /// The trashinfo text for an item trashed now from `originalPath` (absolute for the home
    /// trash, relative to the mount's top folder otherwise).
    static std::string trashInfo(const std::string& originalPath, std::time_t deletedAt);

    /// `path` with every byte outside the unreserved URI characters and "/" written as %XX.
    static std::string percentEncodedPath(const std::string& path);

    /// Where items of one file system go: the trash folder and, for a mount's own trash, the
    /// mount's top folder (empty for the home trash).
    struct Location {
        std::filesystem::path trash;
        std::filesystem::path top;
    };

private:
    std::mutex mutex_;
    std::map<std::pair<std::string, dev_t>, Location> known_;
};

} // namespace quilla
