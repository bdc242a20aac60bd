#include "app/core/operations/paths/FileURL.h"

#include "app/core/url/PercentDecoding.h"

#include <cctype>
#include <system_error>

namespace quilla {
namespace {

// Characters a URL path keeps as they are (unreserved, sub-delimiters, ":", "@" and "/").
bool keptInPath(unsigned char c) {
    if (std::isalnum(c) && c < 0x80) {
        return true;
    }
    static constexpr std::string_view kKept = "-._~!$&'()*+,;=:@/";
    return kKept.find(static_cast<char>(c)) != std::string_view::npos;
}

} // namespace

std::string FileURL::string(const std::filesystem::path& path) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string text = "file://";
    for (const unsigned char c : path.native()) {
        if (keptInPath(c)) {
            text += static_cast<char>(c);
        } else {
            text += '%';
            text += kHex[c >> 4];
            text += kHex[c & 0xF];
        }
    }
    std::error_code ec;
    if (!text.ends_with('/') && std::filesystem::is_directory(path, ec)) {
        text += '/';
    }
    return text;
}

bool FileURL::hasFileScheme(std::string_view text) {
    if (text.size() < 5) {
        return false;
    }
    for (std::size_t i = 0; i < 4; ++i) {
        if (std::tolower(static_cast<unsigned char>(text[i])) != "file"[i]) {
            return false;
        }
    }
    return text[4] == ':';
}

std::optional<std::filesystem::path> FileURL::path(std::string_view url) {
    if (!hasFileScheme(url)) {
        return std::nullopt;
    }
    std::string_view rest = url.substr(5);
    // Drop a query or fragment: neither is part of a file's path.
    if (const auto end = rest.find_first_of("?#"); end != std::string_view::npos) {
        rest = rest.substr(0, end);
    }
    if (rest.starts_with("//")) {
        rest.remove_prefix(2);
        const auto slash = rest.find('/');
        const std::string_view host = rest.substr(0, slash);
        if (!host.empty() && host != "localhost") {
            return std::nullopt;
        }
        rest = slash == std::string_view::npos ? std::string_view("/") : rest.substr(slash);
    }
    if (!rest.starts_with('/')) {
        return std::nullopt;
    }
    auto decoded = percentDecoded(rest);
    if (!decoded) {
        return std::nullopt;
    }
    return std::filesystem::path(*decoded);
}

} // namespace quilla
