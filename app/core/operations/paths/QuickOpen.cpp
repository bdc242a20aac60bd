#include "app/core/operations/paths/QuickOpen.h"

#include "app/core/executor/FinderActionExecutionError.h"
#include "app/core/lists/TrimmedText.h"
#include "app/core/operations/paths/FinderReveal.h"
#include "app/core/operations/paths/PathText.h"
#include "app/core/platform/Pasteboard.h"
#include "app/core/platform/Prompts.h"
#include "app/core/platform/Workspace.h"
#include "shared/L10n.h"
#include "shared/QuillaPaths.h"

#ifndef QUILLA_PROJECT_DIR
#define QUILLA_PROJECT_DIR ""
#endif

namespace quilla {
namespace {

namespace fs = std::filesystem;

bool isFolder(const fs::path& path) {
    std::error_code ec;
    return fs::is_directory(path, ec);
}

} // namespace

const std::array<std::string_view, 7>& QuickOpen::folderActionIDs() {
    static constexpr std::array<std::string_view, 7> kIDs{
        "quickOpenHome",         "quickOpenDesktop",       "quickOpenDownloads", "quickOpenDocuments",
        "quickOpenApplications", "quickOpenQuillaProject", "quickOpenPath",
    };
    return kIDs;
}

fs::path QuickOpen::defaultQuickOpenURL(std::string_view actionID) {
    if (actionID == "quickOpenDesktop") return paths::userDir(paths::UserDir::desktop);
    if (actionID == "quickOpenDownloads") return paths::userDir(paths::UserDir::downloads);
    if (actionID == "quickOpenDocuments") return paths::userDir(paths::UserDir::documents);
    if (actionID == "quickOpenApplications") return paths::applicationsDir();
    if (actionID == "quickOpenQuillaProject") return fs::path(QUILLA_PROJECT_DIR);
    return paths::home();
}

void QuickOpen::quickOpenFolder(std::string_view actionID, const std::optional<fs::path>& destination) const {
    const fs::path place = destination ? *destination : defaultQuickOpenURL(actionID);
    if (!isFolder(place)) {
        throw FinderActionExecutionError::noTargetDirectory();
    }
    context_.workspace.open(place);
}

void QuickOpen::quickOpenTypedPath() const {
    const auto entered =
        context_.prompts.promptText(L10n::text<"打开指定路径">(), L10n::text<"输入要打开的文件或文件夹路径。">());
    if (!entered) {
        return;
    }
    const std::string trimmed = trimmedText(*entered);
    const auto item = PathText::fileURL(trimmed);
    if (!item) {
        throw FinderActionExecutionError::invalidPath(trimmed);
    }
    FinderReveal(context_).revealURLInFinder(*item);
}

void QuickOpen::quickOpenClipboardPath() const {
    std::vector<fs::path> items;
    for (const auto& path : context_.pasteboard.readFilePaths()) {
        std::error_code ec;
        if (fs::exists(path, ec)) {
            items.emplace_back(path);
        }
    }
    if (items.empty()) {
        if (const auto text = context_.pasteboard.readText()) {
            items = PathText::validFileURLs(*text);
        }
    }
    if (items.empty()) {
        throw FinderActionExecutionError::noClipboardPath();
    }
    FinderReveal(context_).revealURLsInFinder(items);
}

} // namespace quilla
