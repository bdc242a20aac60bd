#include "app/core/operations/paths/PathText.h"

#include "app/core/lists/TrimmedText.h"
#include "app/core/operations/paths/FileURL.h"
#include "shared/QuillaPaths.h"

namespace quilla {
namespace {

namespace fs = std::filesystem;

bool itemExists(const fs::path& path) {
    std::error_code ec;
    return fs::exists(path, ec);
}

fs::path expandedPath(const std::string& text) {
    if (text == "~") {
        return paths::home();
    }
    if (text.starts_with("~/")) {
        return paths::home() / text.substr(2);
    }
    const fs::path path(text);
    // The application's working folder is wherever it happened to be started; the home folder
    // is what a user typing "Downloads/x" means.
    return path.is_absolute() ? path : paths::home() / path;
}

std::vector<std::string_view> lines(std::string_view text) {
    std::vector<std::string_view> result;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i == text.size() || text[i] == '\n' || text[i] == '\r') {
            result.push_back(text.substr(start, i - start));
            start = i + 1;
        }
    }
    return result;
}

} // namespace

std::string PathText::normalizedPathText(std::string_view text) {
    std::string result = trimmedText(text);
    if (result.size() >= 2 && (result.front() == '"' || result.front() == '\'') && result.back() == result.front()) {
        result = result.substr(1, result.size() - 2);
    }
    for (std::size_t at = result.find("\\ "); at != std::string::npos; at = result.find("\\ ", at + 1)) {
        result.erase(at, 1);
    }
    return result;
}

std::optional<fs::path> PathText::fileURL(std::string_view text) {
    const std::string normalized = normalizedPathText(text);
    if (normalized.empty()) {
        return std::nullopt;
    }
    fs::path path;
    if (FileURL::hasFileScheme(normalized)) {
        auto fromURL = FileURL::path(normalized);
        if (!fromURL) {
            return std::nullopt;
        }
        path = std::move(*fromURL);
    } else {
        path = expandedPath(normalized);
    }
    if (!itemExists(path)) {
        return std::nullopt;
    }
    return path;
}

std::vector<fs::path> PathText::validFileURLs(std::string_view text) {
    std::vector<std::string> candidates;
    for (const auto line : lines(text)) {
        if (auto trimmed = trimmedText(line); !trimmed.empty()) {
            candidates.push_back(std::move(trimmed));
        }
    }
    if (candidates.empty()) {
        candidates.emplace_back(text);
    }
    std::vector<fs::path> result;
    for (const auto& candidate : candidates) {
        if (auto path = fileURL(candidate)) {
            result.push_back(std::move(*path));
        }
    }
    return result;
}

} // namespace quilla
