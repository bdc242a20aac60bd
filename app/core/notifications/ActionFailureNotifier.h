#pragma once

#include <chrono>
#include <functional>
#include <map>
#include <string>

namespace quilla {

class DesktopNotifier;

/// Tells the user about actions that failed where no alert may interrupt them (queued clicks and
/// URLs): one desktop notification "Quilla 操作失败" with the error's text. Repeats of the same
/// text within `collapseWindow` collapse into one; nothing is posted while the preference is off.
/// Main thread only.
class ActionFailureNotifier final {
public:
    using Clock = std::chrono::steady_clock;

    static constexpr std::chrono::seconds collapseWindow{5};

    /// `enabled` reads the preference at the moment of each failure.
    ActionFailureNotifier(
        DesktopNotifier& notifier, std::function<bool()> enabled,
        std::function<Clock::time_point()> now = [] { return Clock::now(); });

    /// One failed action with its user-visible error text.
    void actionFailed(const std::string& description);

private:
    DesktopNotifier& notifier_;
    std::function<bool()> enabled_;
    std::function<Clock::time_point()> now_;
    std::map<std::string, Clock::time_point> lastPosted_;
};

} // namespace quilla
