#pragma once

#include "app/core/platform/Pasteboard.h"

namespace quilla {

/// The clipboard of one command-line run: what an action copies is kept and printed at the end.
/// It starts empty, so clipboard-reading actions find nothing on it.
class TerminalPasteboard final : public Pasteboard {
public:
    bool writeText(const std::string& text) override;
    std::optional<std::string> readText() override;
    std::vector<std::string> readFilePaths() override;

    /// The text last put on the clipboard, if any.
    const std::optional<std::string>& text() const { return text_; }

private:
    std::optional<std::string> text_;
};

} // namespace quilla
