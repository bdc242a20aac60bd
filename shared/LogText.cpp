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
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\0':
            out += "\\0";
            break;
        default:
            out.push_back(c);
        }
    }
    out.push_back('"');
    return out;
}

std::string singleLineLogText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    char escape[8];
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const auto next = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0;
        const auto third = i + 2 < text.size() ? static_cast<unsigned char>(text[i + 2]) : 0;
        if (byte == '\n') {
            out += "\\n";
        } else if (byte == '\r') {
            out += "\\r";
        } else if (byte == '\t') {
            out += "\\t";
        } else if (byte < 0x20 || byte == 0x7f) {
            std::snprintf(escape, sizeof escape, "\\x%02x", byte);
            out += escape;
        } else if (byte == 0xc2 && next >= 0x80 && next <= 0x9f) { // U+0080..U+009F, NEL among them
            std::snprintf(escape, sizeof escape, "\\u%04x", next);
            out += escape;
            ++i;
        } else if (byte == 0xe2 && next == 0x80 && (third == 0xa8 || third == 0xa9)) {
            out += third == 0xa8 ? "\\u2028" : "\\u2029";
            i += 2;
        } else {
            out.push_back(static_cast<char>(byte));
        }
    }
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
