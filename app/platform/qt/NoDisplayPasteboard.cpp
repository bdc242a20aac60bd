#include "app/platform/qt/NoDisplayPasteboard.h"

#include "shared/DiagnosticLog.h"
#include "shared/QuillaPaths.h"

namespace quilla {

bool NoDisplayPasteboard::writeText(const std::string&) {
    appendDiagnosticLog(paths::appActionLogPath(), "clipboard unavailable: no display");
    return false;
}

std::optional<std::string> NoDisplayPasteboard::readText() {
    return std::nullopt;
}

std::vector<std::string> NoDisplayPasteboard::readFilePaths() {
    return {};
}

} // namespace quilla
