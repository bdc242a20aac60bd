#include "app/cli/TerminalFinderScripting.h"

#include "shared/QuillaPaths.h"

namespace quilla {

std::optional<std::filesystem::path> TerminalFinderScripting::frontFolder() {
    return paths::userDir(paths::UserDir::desktop);
}

} // namespace quilla
