#pragma once

#include <filesystem>
#include <string>

namespace quilla {

/// Moving items to the desktop's Trash (never deleting them permanently).
class Trash {
public:
    virtual ~Trash() = default;
    /// Moves the item (a link itself, never its target) to the Trash. False with `error` filled
    /// when the item's file system has no usable trash or the move fails.
    virtual bool trashItem(const std::filesystem::path& item, std::string* error = nullptr) = 0;
};

} // namespace quilla
