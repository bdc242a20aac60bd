#pragma once

#include <map>
#include <string>
#include <string_view>

namespace quilla {

/// Carries the system's distributed notifications over the D-Bus session bus: a notification
/// named "I.M" is signal M of interface I on object path /app/kelvarin/Quilla, with the object
/// string and the user info (a{ss}) as arguments.
class DBusNotificationCenter final {
public:
    static constexpr std::string_view objectPath = "/app/kelvarin/Quilla";

    /// Emits the signal. False (and nothing else happens) when there is no session bus or the
    /// name cannot be split into interface and member.
    static bool post(std::string_view notificationName, std::string_view object,
                     const std::map<std::string, std::string>& userInfo) noexcept;
};

} // namespace quilla
