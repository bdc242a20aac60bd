#pragma once

#include "app/core/executor/ExecutorContext.h"

#include <string>
#include <vector>

namespace quilla {

/// Puts the lines, joined by line feeds (none after the last), on the clipboard;
/// pasteboardWriteFailed when it refuses.
void copyLinesToPasteboard(const ExecutorContext& context, const std::vector<std::string>& lines);

} // namespace quilla
