#pragma once

#include <string>

namespace quilla {

/// Non-modal desktop notifications (a notification server on the session bus). Posting never
/// blocks for long and never throws; a notification that cannot be shown is only logged.
class DesktopNotifier {
public:
    virtual ~DesktopNotifier() = default;
    /// Shows a notification from the application with `title` and `body`.
    virtual void post(const std::string& title, const std::string& body) = 0;
};

} // namespace quilla
