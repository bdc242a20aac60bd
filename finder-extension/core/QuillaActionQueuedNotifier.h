#pragma once

#include <string_view>

namespace quilla {

/// Tells the application that a queued action is waiting.
class QuillaActionQueuedNotifier {
public:
    static constexpr std::string_view notificationName = "app.kelvarin.Quilla.ActionQueued";

    virtual ~QuillaActionQueuedNotifier() = default;

    /// Posts the notification (no object, no user info). Never throws; without a bus it does nothing.
    virtual void postActionQueued() noexcept = 0;
};

} // namespace quilla
