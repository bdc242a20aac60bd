#include "shared/LogText.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

namespace quilla {

std::string logDateText(std::chrono::system_clock::time_point time) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(time);
    std::tm parts{};
    gmtime_r(&seconds, &parts);
    char buffer[40];
    std::strftime(buffer, sizeof buffer, "%Y-%m-%d %H:%M:%S +0000", &parts);
    return buffer;
}

std::string quotedLogString(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 2);
    out.push_back('"');
    for (const char c : text) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        case '\0': out += "\\0"; break;
        default: out.push_back(c);
        }
    }
    out.push_back('"');
    return out;
}

std::string bracketedList(const std::vector<std::string>& items, std::size_t shownAtMost) {
    const auto shown = std::min(items.size(), shownAtMost);
    std::string out = "[";
    for (std::size_t i = 0; i < shown; ++i) {
        if (i > 0) {
            out += ", ";
        }
        out += quotedLogString(items[i]);
    }
    if (shown < items.size()) {
        out += (shown > 0 ? ", … (" : "… (") + std::to_string(items.size() - shown) + " more)";
    }
    out += "]";
    return out;
}

} // namespace quilla
