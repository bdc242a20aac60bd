#include "finder-extension/core/FinderDiagnosticLog.h"

#include "shared/DiagnosticLog.h"
#include "shared/LogText.h"
#include "shared/QuillaPaths.h"

#include <system_error>

namespace quilla {

void FinderDiagnosticLog::append(std::string_view message) const noexcept {
    try {
        append(std::vector<std::string>{std::string(message)});
    } catch (...) {
    }
}

void FinderDiagnosticLog::append(const std::vector<std::string>& messages) const noexcept {
    try {
        if (messages.empty()) {
            return;
        }
        for (const auto& message : messages) {
            systemLog_.log(FinderSystemLog::Level::notice, "QuillaFinderExtension",
                           "QuillaFinderExtension: " + singleLineLogText(message));
        }
        appendDiagnosticLog(paths::extensionLogPath(), messages);
    } catch (...) {
    }
}

} // namespace quilla
