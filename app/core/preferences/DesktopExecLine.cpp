#include "app/core/preferences/DesktopExecLine.h"

#include <algorithm>

namespace quilla {
namespace {

bool isPlain(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           std::string_view("/._+-,:@%=").find(c) != std::string_view::npos;
}

} // namespace

std::string DesktopExecLine::quoteArgument(std::string_view program) {
    const bool plain = !program.empty() && std::all_of(program.begin(), program.end(), isPlain);
    std::string out = plain ? "" : "\"";
    for (const char c : program) {
        if (c == '%') {
            out += "%%";
            continue;
        }
        if (!plain && std::string_view("\"`$\\").find(c) != std::string_view::npos) {
            out += '\\';
        }
        out += c;
    }
    if (!plain) {
        out += '"';
    }
    return out;
}

std::optional<std::string> DesktopExecLine::program(std::string_view exec) {
    const auto start = exec.find_first_not_of(" \t");
    if (start == std::string_view::npos) {
        return std::nullopt;
    }
    std::string raw;
    if (exec[start] == '"') {
        std::size_t i = start + 1;
        for (; i < exec.size() && exec[i] != '"'; ++i) {
            if (exec[i] == '\\' && i + 1 < exec.size()) {
                ++i;
            }
            raw += exec[i];
        }
        if (i >= exec.size()) {
            return std::nullopt;
        }
    } else {
        raw = std::string(exec.substr(start, exec.find_first_of(" \t", start) - start));
    }
    std::string result;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        result += raw[i];
        if (raw[i] == '%' && i + 1 < raw.size() && raw[i + 1] == '%') {
            ++i;
        }
    }
    return result;
}

std::string DesktopExecLine::escapeForFile(std::string_view exec) {
    std::string out;
    for (const char c : exec) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break; // a line break would end the key's line
        case '\r':
            out += "\\r";
            break;
        default:
            out += c;
        }
    }
    return out;
}

} // namespace quilla
