#include "app/core/operations/rename/BatchRename.h"

#include "app/core/executor/ExecutorHelpers.h"
#include "app/core/executor/FinderActionExecutionError.h"
#include "app/core/operations/copymove/FileTransfer.h"
#include "app/core/operations/rename/FileNameCollation.h"
#include "app/core/platform/Prompts.h"
#include "shared/L10n.h"
#include "shared/Uuid.h"

#include <cstdio>

namespace quilla::rename {
namespace {

std::string replacingAll(std::string text, const std::string& find, const std::string& replacement) {
    if (find.empty()) return text;
    std::string out;
    std::size_t from = 0;
    for (auto at = text.find(find); at != std::string::npos; at = text.find(find, from)) {
        out.append(text, from, at - from).append(replacement);
        from = at + find.size();
    }
    return out.append(text, from);
}

std::string sequenceNumber(std::size_t number) {
    char digits[32];
    std::snprintf(digits, sizeof digits, "%03zu", number);
    return digits;
}

std::string newBase(const std::string& base, RenameMode mode, const RenameOptions& options, std::size_t index) {
    switch (mode) {
    case RenameMode::addPrefix: return options.first + base;
    case RenameMode::addSuffix: return base + options.first;
    case RenameMode::findReplace: return replacingAll(base, options.first, options.second);
    case RenameMode::sequential: return options.first + " " + sequenceNumber(index + 1);
    case RenameMode::lowercase: return collation::lowercased(base);
    case RenameMode::uppercase: return collation::uppercased(base);
    }
    return base;
}

void refuseUnusableName(const std::string& name) {
    if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos ||
        name.find('\0') != std::string::npos) {
        throw FinderActionExecutionError::invalidPath(name);
    }
}

} // namespace

RenameOptions renameOptions(const ExecutorContext& context, RenameMode mode) {
    auto& prompts = context.prompts;
    switch (mode) {
    case RenameMode::addPrefix:
        return {prompts.promptText(L10n::text<"添加前缀">(), L10n::text<"输入要添加到文件名前面的文字。">()).value_or(""), ""};
    case RenameMode::addSuffix:
        return {prompts.promptText(L10n::text<"添加后缀">(), L10n::text<"输入要添加到扩展名前面的文字。">()).value_or(""), ""};
    case RenameMode::findReplace: {
        const auto texts = prompts.promptTwoTexts(L10n::text<"查找并替换">(), L10n::text<"查找">(), L10n::text<"替换为">());
        return texts ? RenameOptions{texts->first, texts->second} : RenameOptions{};
    }
    case RenameMode::sequential:
        return {prompts.promptText(L10n::text<"序号重命名">(), L10n::text<"输入统一文件名。">()).value_or("File"), ""};
    case RenameMode::lowercase:
    case RenameMode::uppercase: return {};
    }
    return {};
}

std::string renamedName(const std::string& name, RenameMode mode, const RenameOptions& options, std::size_t index) {
    const auto [base, extension] = executor::splitLastExtension(name);
    const auto renamed = newBase(base, mode, options, index);
    return extension.empty() ? renamed : renamed + "." + extension;
}

std::vector<fs::path> renameFiles(const ExecutorContext& context, const std::vector<fs::path>& selected, RenameMode mode) {
    if (selected.empty()) throw FinderActionExecutionError::noSelection();
    auto items = selected;
    collation::sortAsFileManagerShows(items);
    const auto options = renameOptions(context, mode);
    std::vector<fs::path> results;
    results.reserve(items.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
        const auto item = executor::standardized(items[i]);
        const auto name = item.filename().string();
        const auto newName = renamedName(name, mode, options, i);
        results.push_back(newName == name ? item : moveRenamedItem(item, newName));
    }
    executor::revealIfWanted(context, context.preferences().revealActionResults, results);
    return results;
}

fs::path moveRenamedItem(const fs::path& item, const std::string& newName) {
    refuseUnusableName(newName);
    const auto folder = item.parent_path();
    const auto currentName = item.filename().string();
    if (!collation::equalIgnoringCaseAndDiacritics(currentName, newName)) {
        const auto [base, extension] = executor::splitLastExtension(newName);
        const auto target = executor::freeItemPath(folder, base, extension);
        fileops::renameNoReplace(item, target);
        return target;
    }
    // A volume that ignores case would see the old and new name as one item: step aside first.
    const auto temporary = executor::freeItemPath(folder, ".quilla-renaming-" + newUUIDString(),
                                                  executor::splitLastExtension(currentName).second);
    const auto target = folder / newName;
    fileops::renameNoReplace(item, temporary);
    try {
        fileops::renameNoReplace(temporary, target);
    } catch (const fs::filesystem_error& error) {
        try {
            fileops::renameNoReplace(temporary, item); // back to the former name; never over another item
        } catch (const std::exception&) {
        }
        // The temporary name is gone again: the error names the item in the way.
        throw fs::filesystem_error("cannot rename item", target, error.code());
    }
    return target;
}

} // namespace quilla::rename
