#pragma once

#include <filesystem>
#include <string_view>

namespace quilla {

/// Appends "[" + UTC date and time + "] " + message to a diagnostic log file (bounded, failures
/// ignored; see appendLogLine).
void appendDiagnosticLog(const std::filesystem::path& logFile, std::string_view message) noexcept;

} // namespace quilla
