#pragma once

#include "finder-extension/core/FinderSystemLog.h"

#include <string>
#include <string_view>
#include <vector>

namespace quilla {

/// The extension's diagnostic log: every message becomes a dated line in FinderExtension.log in
/// the extension's folder and goes to the system log as "QuillaFinderExtension: " + message.
/// Failures are ignored.
class FinderDiagnosticLog final {
public:
    explicit FinderDiagnosticLog(FinderSystemLog& systemLog) : systemLog_(systemLog) {}

    /// Logs one message.
    void append(std::string_view message) const noexcept;
    /// Logs several messages in order, with one write to the file.
    void append(const std::vector<std::string>& messages) const noexcept;

    FinderSystemLog& systemLog() const { return systemLog_; }

private:
    FinderSystemLog& systemLog_;
};

/// Collects the diagnostic lines of one menu so they are written together at its end.
class FinderDiagnosticLines final {
public:
    void add(std::string message) { lines_.push_back(std::move(message)); }
    const std::vector<std::string>& lines() const { return lines_; }

private:
    std::vector<std::string> lines_;
};

} // namespace quilla
