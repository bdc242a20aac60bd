#pragma once

#include <string>
#include <vector>

namespace quilla::test {

/// Makes GLib warnings and criticals fatal for the whole test process and records every
/// structured message of the extension's log domain, so tests can check what was logged.
class GLibLogCapture final {
public:
    /// Installs the capture (once per process).
    static void install();
    /// Messages of the domain "app.kelvarin.Quilla.FinderExtension" since the last `clear`.
    static std::vector<std::string> messages();
    static void clear();
    /// Whether some captured message contains `text`.
    static bool contains(const std::string& text);
};

} // namespace quilla::test
