#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace quilla {

/// Finds out whether the application runs and starts it without bringing it to the front.
class QuillaAppLauncher {
public:
    /// The application's identity (its well-known bus name on Linux).
    static constexpr std::string_view applicationID = "app.kelvarin.Quilla";

    /// Called once a start finished: nothing on success, else the reason it failed.
    using Completion = std::function<void(const std::optional<std::string>& error)>;

    virtual ~QuillaAppLauncher() = default;

    /// Whether the application is running now. Never throws.
    virtual bool isApplicationRunning() noexcept = 0;
    /// Starts the application; `completion` may run later (on the host's main loop) or before
    /// this returns. A launcher must not run a completion once it is destroyed, and it must be
    /// destroyed before the FinderSync that uses it (completions log through that FinderSync).
    /// Never throws.
    virtual void startApplication(Completion completion) noexcept = 0;
};

} // namespace quilla
