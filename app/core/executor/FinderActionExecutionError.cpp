#include "app/core/executor/FinderActionExecutionError.h"

#include "shared/L10n.h"

#include <filesystem>
#include <system_error>

namespace quilla {
namespace {

std::string messageFor(FinderActionExecutionError::Kind kind, const std::string& payload) {
    using Kind = FinderActionExecutionError::Kind;
    switch (kind) {
    case Kind::applicationNotFound: return L10n::format("没有找到 %@ 应用。", payload);
    case Kind::destinationDirectoryUnavailable: return L10n::format("目标文件夹不可用：%@", payload);
    case Kind::invalidPath: return L10n::format("路径不可用：%@", payload);
    case Kind::sourceItemMissing: return L10n::format("所选文件不存在或无法访问：%@", payload);
    case Kind::commandFailed: return payload.empty() ? L10n::text("系统命令执行失败。") : payload;
    case Kind::unsupportedAction: return L10n::format("暂不支持这个右键动作：%@。", payload);
    case Kind::noSelection: return L10n::text("请先在 Finder 中选择文件。");
    case Kind::noTargetDirectory: return L10n::text("没有找到可以执行操作的 Finder 目录。");
    case Kind::noClipboardPath: return L10n::text("剪贴板里没有可打开的路径。");
    case Kind::pasteboardWriteFailed: return L10n::text("写入剪贴板失败。");
    }
    return {};
}

} // namespace

FinderActionExecutionError::FinderActionExecutionError(Kind kind, std::string payload)
    : std::runtime_error(messageFor(kind, payload)), kind_(kind), payload_(std::move(payload)) {}

std::string errorDescription(const std::exception& error) {
    if (const auto* fsError = dynamic_cast<const std::filesystem::filesystem_error*>(&error)) {
        // The system's own sentence plus the path it concerns, without the library's prefix.
        std::string text = fsError->code().message();
        if (!fsError->path1().empty()) {
            text += "：" + fsError->path1().string();
        }
        return text;
    }
    if (const auto* systemError = dynamic_cast<const std::system_error*>(&error)) {
        return systemError->what();
    }
    return error.what();
}

} // namespace quilla
