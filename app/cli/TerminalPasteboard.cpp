#include "app/cli/TerminalPasteboard.h"

namespace quilla {

bool TerminalPasteboard::writeText(const std::string& text) {
    text_ = text;
    return true;
}

std::optional<std::string> TerminalPasteboard::readText() { return text_; }

std::vector<std::string> TerminalPasteboard::readFilePaths() { return {}; }

} // namespace quilla
