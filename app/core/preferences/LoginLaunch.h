#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quilla {

class LoginItem;

/// Whether this start looks like the session starting the application at login: an argument
/// "--login-item", or the login item enabled while the system has been up for less than
/// 180 seconds. An unknown uptime never counts as a login start.
bool wasLikelyLaunchedAtLogin(const std::vector<std::string>& arguments, const LoginItem& loginItem,
                              std::optional<double> uptimeSeconds);

/// Seconds since boot from /proc/uptime; nothing when it cannot be read.
std::optional<double> systemUptimeSeconds();

} // namespace quilla
