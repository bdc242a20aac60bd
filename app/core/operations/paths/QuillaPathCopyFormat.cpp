#include "app/core/operations/paths/QuillaPathCopyFormat.h"

#include "app/core/executor/ExecutorHelpers.h"
#include "app/core/executor/FinderActionExecutionError.h"
#include "app/core/operations/paths/FileURL.h"

namespace quilla {
namespace {

namespace fs = std::filesystem;

// A path as a file URL's path: without trailing slashes (the root stays "/").
std::string plainPath(const fs::path& item) {
    std::string text = item.native();
    while (text.size() > 1 && text.back() == '/') {
        text.pop_back();
    }
    return text;
}

std::string lastComponent(const std::string& path) {
    if (path == "/") {
        return path;
    }
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string parentPath(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

// Single quotes protect everything in a POSIX shell except the quote itself, which is closed,
// escaped and reopened.
std::string shellQuoted(const std::string& path) {
    std::string text = "'";
    for (const char c : path) {
        if (c == '\'') {
            text += "'\\''";
        } else {
            text += c;
        }
    }
    return text + "'";
}

} // namespace

const std::array<std::pair<QuillaPathCopyFormat, std::string_view>, 6>& PathCopy::formats() {
    using F = QuillaPathCopyFormat;
    static constexpr std::array<std::pair<QuillaPathCopyFormat, std::string_view>, 6> kFormats{{
        {F::fullPath, "copyFullPath"},
        {F::fileName, "copyFileName"},
        {F::parentPath, "copyParentPath"},
        {F::shellPath, "copyShellPath"},
        {F::markdownLink, "copyMarkdownLink"},
        {F::fileNameList, "copyFileNameList"},
    }};
    return kFormats;
}

std::string PathCopy::text(QuillaPathCopyFormat format, const fs::path& item) {
    const std::string path = plainPath(item);
    switch (format) {
    case QuillaPathCopyFormat::fullPath: return path;
    case QuillaPathCopyFormat::fileName:
    case QuillaPathCopyFormat::fileNameList: return lastComponent(path);
    case QuillaPathCopyFormat::parentPath: return parentPath(path);
    case QuillaPathCopyFormat::shellPath: return shellQuoted(path);
    case QuillaPathCopyFormat::markdownLink: return "[" + lastComponent(path) + "](" + FileURL::string(path) + ")";
    }
    return path;
}

void PathCopy::copyPaths(const ExecutorContext& context, const std::vector<fs::path>& selected,
                         const std::optional<fs::path>& targeted, QuillaPathCopyFormat format) {
    const auto items = executor::effectiveURLs(selected, targeted);
    if (items.empty()) {
        throw FinderActionExecutionError::noSelection();
    }
    std::string joined;
    for (const auto& item : items) {
        if (&item != &items.front()) {
            joined += '\n';
        }
        joined += text(format, item);
    }
    executor::copyToPasteboard(context, joined);
}

} // namespace quilla
