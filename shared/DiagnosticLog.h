#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace quilla {

/// Appends "[" + UTC date and time + "] " + message to a diagnostic log file (bounded, failures
/// ignored; see appendLogLine). Control characters in the message are escaped (singleLineLogText),
/// so every message is exactly one line.
void appendDiagnosticLog(const std::filesystem::path& logFile, std::string_view message) noexcept;

/// Appends one such line per message, all stamped with the same time, in a single write.
void appendDiagnosticLog(const std::filesystem::path& logFile,
                         const std::vector<std::string>& messages) noexcept;

} // namespace quilla
