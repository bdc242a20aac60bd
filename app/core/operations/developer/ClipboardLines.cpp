#include "app/core/operations/developer/ClipboardLines.h"

#include "app/core/executor/ExecutorHelpers.h"

namespace quilla {

void copyLinesToPasteboard(const ExecutorContext& context, const std::vector<std::string>& lines) {
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        text += (i == 0 ? "" : "\n") + lines[i];
    }
    executor::copyToPasteboard(context, text);
}

} // namespace quilla
