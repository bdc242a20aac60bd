#include "app/core/notifications/ActionFailureNotifier.h"

#include "app/core/platform/DesktopNotifier.h"
#include "shared/L10n.h"

namespace quilla {

ActionFailureNotifier::ActionFailureNotifier(DesktopNotifier& notifier, std::function<bool()> enabled,
                                             std::function<Clock::time_point()> now)
    : notifier_(notifier), enabled_(std::move(enabled)), now_(std::move(now)) {}

void ActionFailureNotifier::actionFailed(const std::string& description) {
    if (!enabled_()) {
        return;
    }
    const auto now = now_();
    // Forget texts whose window has passed, so a long run keeps no growing list.
    std::erase_if(lastPosted_, [&](const auto& entry) { return now - entry.second >= collapseWindow; });
    if (lastPosted_.contains(description)) {
        return;
    }
    lastPosted_.emplace(description, now);
    notifier_.post(L10n::text<"Quilla 操作失败">(), description);
}

} // namespace quilla
