#include "app/core/operations/paths/FinderReveal.h"

#include "app/core/executor/FinderActionExecutionError.h"
#include "app/core/platform/Workspace.h"

namespace quilla {
namespace {

bool isFolder(const std::filesystem::path& path) {
    std::error_code ec;
    return std::filesystem::is_directory(path, ec);
}

} // namespace

// Opening and selecting give no answer worth acting on, so their results are not checked.

void FinderReveal::revealInFinder(const std::vector<std::filesystem::path>& items) const {
    if (items.empty()) {
        throw FinderActionExecutionError::noSelection();
    }
    context_.workspace.revealItems(items);
}

void FinderReveal::revealURLInFinder(const std::filesystem::path& item) const {
    if (isFolder(item)) {
        context_.workspace.open(item);
    } else {
        context_.workspace.revealItems({item});
    }
}

void FinderReveal::revealURLsInFinder(const std::vector<std::filesystem::path>& items) const {
    std::vector<std::filesystem::path> others;
    for (const auto& item : items) {
        if (isFolder(item)) {
            context_.workspace.open(item);
        } else {
            others.push_back(item);
        }
    }
    if (!others.empty()) {
        context_.workspace.revealItems(others);
    }
}

} // namespace quilla
