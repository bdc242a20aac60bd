#pragma once

#include <string_view>

namespace quilla {

/// The system log of the host process: the journal through GLib in the Nautilus module, standard
/// error in quilla-finder. Implementations must not throw.
class FinderSystemLog {
public:
    enum class Level { info, notice };

    virtual ~FinderSystemLog() = default;

    /// Logs one message under the extension's subsystem "app.kelvarin.Quilla.FinderExtension"
    /// and `category` (for example "FinderSync").
    virtual void log(Level level, std::string_view category, std::string_view message) noexcept = 0;
};

} // namespace quilla
