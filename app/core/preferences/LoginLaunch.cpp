#include "app/core/preferences/LoginLaunch.h"

#include "app/core/platform/LoginItem.h"
#include "shared/FileIO.h"

#include <algorithm>
#include <charconv>

namespace quilla {

bool wasLikelyLaunchedAtLogin(const std::vector<std::string>& arguments, const LoginItem& loginItem,
                              std::optional<double> uptimeSeconds) {
    if (std::find(arguments.begin(), arguments.end(), "--login-item") != arguments.end()) {
        return true;
    }
    return uptimeSeconds && *uptimeSeconds < 180.0 && loginItem.isEnabled();
}

std::optional<double> systemUptimeSeconds() {
    const auto text = readFileCapped("/proc/uptime", 4096);
    if (!text) {
        return std::nullopt;
    }
    // "12345.67 54321.00": the first number; from_chars ignores the locale's decimal mark.
    double seconds = 0;
    const auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), seconds);
    if (error != std::errc() || seconds < 0) {
        return std::nullopt;
    }
    return seconds;
}

} // namespace quilla
