#include "app/platform/qt/LinuxFinderScripting.h"

#include "shared/QuillaPaths.h"

namespace quilla {

std::vector<std::filesystem::path> LinuxFinderScripting::selection() { return {}; }

std::optional<std::filesystem::path> LinuxFinderScripting::frontFolder() {
    return paths::userDir(paths::UserDir::desktop);
}

} // namespace quilla
