#pragma once

#include "app/core/platform/FinderScripting.h"

namespace quilla {

/// What the desktop's file manager tells about its windows on Linux: GNOME Files publishes
/// neither its selection nor its front folder, so the selection is empty and the front folder is
/// the Desktop, the answer for "no window open".
class LinuxFinderScripting final : public FinderScripting {
public:
    std::vector<std::filesystem::path> selection() override;
    std::optional<std::filesystem::path> frontFolder() override;
};

} // namespace quilla
