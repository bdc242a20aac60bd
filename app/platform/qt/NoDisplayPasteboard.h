#pragma once

#include "app/core/platform/Pasteboard.h"

namespace quilla {

/// The clipboard of an application started without a display: there is none, so writing fails
/// (the action then reports "写入剪贴板失败。") and the diagnostic log says why; reading finds nothing.
class NoDisplayPasteboard final : public Pasteboard {
public:
    bool writeText(const std::string& text) override;
    std::optional<std::string> readText() override;
    std::vector<std::string> readFilePaths() override;
};

} // namespace quilla
