#include "app/core/executor/ExecutorContext.h"

#include "shared/DiagnosticLog.h"
#include "shared/QuillaPaths.h"

namespace quilla {

void ExecutorContext::appendDiagnosticLog(std::string_view message) const {
    quilla::appendDiagnosticLog(paths::appActionLogPath(), message);
}

} // namespace quilla
