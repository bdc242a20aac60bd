#pragma once

#include "app/core/platform/FinderScripting.h"

namespace quilla {

/// What the command line knows of the file manager: no selection, and the Desktop as the front
/// folder. View changes keep the interface's "not supported" answer.
class TerminalFinderScripting final : public FinderScripting {
public:
    std::vector<std::filesystem::path> selection() override { return {}; }
    std::optional<std::filesystem::path> frontFolder() override;
};

} // namespace quilla
