#include "shared/DiagnosticLog.h"

#include "shared/FileIO.h"
#include "shared/LogText.h"

#include <string>

namespace quilla {

void appendDiagnosticLog(const std::filesystem::path& logFile, std::string_view message) noexcept {
    try {
        std::string line = "[" + logDateText(std::chrono::system_clock::now()) + "] ";
        line.append(message);
        appendLogLine(logFile, line);
    } catch (...) {
    }
}

} // namespace quilla
