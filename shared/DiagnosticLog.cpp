#include "shared/DiagnosticLog.h"

#include "shared/FileIO.h"
#include "shared/LogText.h"

#include <string>

namespace quilla {

void appendDiagnosticLog(const std::filesystem::path& logFile, std::string_view message) noexcept {
    try {
        appendDiagnosticLog(logFile, std::vector<std::string>{std::string(message)});
    } catch (...) {
    }
}

void appendDiagnosticLog(const std::filesystem::path& logFile,
                         const std::vector<std::string>& messages) noexcept {
    try {
        if (messages.empty()) {
            return;
        }
        const std::string prefix = "[" + logDateText(std::chrono::system_clock::now()) + "] ";
        std::string lines;
        for (const auto& message : messages) {
            if (!lines.empty()) {
                lines.push_back('\n');
            }
            lines += prefix;
            lines += singleLineLogText(message); // a value holding a line feed must not forge a line
        }
        appendLogLine(logFile, lines);
    } catch (...) {
    }
}

} // namespace quilla
