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
        // The extension's own folder is created first; when that fails its copy is skipped.
        const auto containerLog = paths::extensionContainerLogPath();
        std::error_code ec;
        std::filesystem::create_directories(containerLog.parent_path(), ec);
        if (!ec) {
            appendDiagnosticLog(containerLog, messages);
        }
    } catch (...) {
    }
}

} // namespace quilla
