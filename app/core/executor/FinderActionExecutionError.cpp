#include "app/core/executor/FinderActionExecutionError.h"

#include "shared/L10n.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

namespace quilla {
namespace {

std::string messageFor(FinderActionExecutionError::Kind kind, const std::string& payload) {
    using Kind = FinderActionExecutionError::Kind;
    switch (kind) {
    case Kind::applicationNotFound:
        return L10n::format<"没有找到 %@ 应用。">(payload);
    case Kind::destinationDirectoryUnavailable:
        return L10n::format<"目标文件夹不可用：%@">(payload);
    case Kind::invalidPath:
        return L10n::format<"路径不可用：%@">(payload);
    case Kind::sourceItemMissing:
        return L10n::format<"所选文件不存在或无法访问：%@">(payload);
    case Kind::commandFailed:
        return payload.empty() ? L10n::text<"系统命令执行失败。">() : payload;
    case Kind::unsupportedAction:
        return L10n::format<"暂不支持这个右键动作：%@。">(payload);
    case Kind::noSelection:
        return L10n::text<"请先在 Finder 中选择文件。">();
    case Kind::noItemsOfKind:
        if (payload == "pdf")
            return L10n::text<"所选项目中没有 PDF 文件。">();
        if (payload == "zip")
            return L10n::text<"所选项目中没有 ZIP 压缩文件。">();
        return L10n::text<"所选项目中没有图片。">();
    case Kind::noTargetDirectory:
        return L10n::text<"没有找到可以执行操作的 Finder 目录。">();
    case Kind::noClipboardPath:
        return L10n::text<"剪贴板里没有可打开的路径。">();
    case Kind::pasteboardWriteFailed:
        return L10n::text<"写入剪贴板失败。">();
    }
    return {};
}

} // namespace

FinderActionExecutionError::FinderActionExecutionError(Kind kind, std::string payload)
    : std::runtime_error(messageFor(kind, payload)), kind_(kind), payload_(std::move(payload)) {}

FinderActionExecutionError FinderActionExecutionError::noItemsOfKind(ItemKind kind) {
    switch (kind) {
    case ItemKind::pdf:
        return {Kind::noItemsOfKind, "pdf"};
    case ItemKind::zip:
        return {Kind::noItemsOfKind, "zip"};
    case ItemKind::image:
        break;
    }
    return {Kind::noItemsOfKind, "image"};
}

std::string systemErrorSentence(int error) {
    switch (error) {
    case ENOENT:
        return L10n::text<"文件或文件夹不存在">();
    case EACCES:
    case EPERM:
        return L10n::text<"没有权限">();
    case ENOSPC:
        return L10n::text<"磁盘空间不足">();
    case EDQUOT:
        return L10n::text<"超出了磁盘配额">();
    case EFBIG:
        return L10n::text<"文件太大">();
    case EROFS:
        return L10n::text<"磁盘是只读的">();
    case EEXIST:
        return L10n::text<"已有同名的项目">();
    case ENOTEMPTY:
        return L10n::text<"文件夹不是空的">();
    case ENOTDIR:
        return L10n::text<"路径中有一项不是文件夹">();
    case EISDIR:
        return L10n::text<"这是一个文件夹">();
    case ENAMETOOLONG:
        return L10n::text<"名称太长">();
    case ELOOP:
        return L10n::text<"符号链接层数太多">();
    case EXDEV:
        return L10n::text<"不能跨磁盘移动">();
    case EBUSY:
    case ETXTBSY:
        return L10n::text<"项目正在使用中">();
    case EINVAL:
        return L10n::text<"这个位置不支持这个名称或操作">();
    case EIO:
        return L10n::text<"读写磁盘时出错">();
    case EMFILE:
    case ENFILE:
        return L10n::text<"打开的文件太多">();
    case ENOMEM:
        return L10n::text<"内存不足">();
    case EOPNOTSUPP:
        return L10n::text<"这个位置不支持这项操作">();
    case ENXIO:
    case ENODEV:
        return L10n::text<"设备不可用">();
    default:
        return L10n::format<"系统错误（代码 %@）">(std::to_string(error));
    }
}

std::string errorDescription(const std::exception& error) {
    const auto* systemError = dynamic_cast<const std::system_error*>(&error);
    const bool fromSystem = systemError && (systemError->code().category() == std::generic_category() ||
                                            systemError->code().category() == std::system_category());
    if (!fromSystem) {
        return error.what();
    }
    std::string text = systemErrorSentence(systemError->code().value());
    if (const auto* fsError = dynamic_cast<const std::filesystem::filesystem_error*>(&error);
        fsError && !fsError->path1().empty()) {
        text += L10n::labelled(fsError->path1().string());
    }
    return text;
}

} // namespace quilla
