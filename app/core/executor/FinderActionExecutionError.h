#pragma once

#include <stdexcept>
#include <string>

namespace quilla {

/// The failures an action reports to the user, each with its Chinese sentence. Errors of the
/// file system or the platform travel as std::system_error / std::filesystem::filesystem_error.
class FinderActionExecutionError final : public std::runtime_error {
public:
    enum class Kind {
        applicationNotFound,
        destinationDirectoryUnavailable,
        invalidPath,
        sourceItemMissing,
        commandFailed,
        unsupportedAction,
        noSelection,
        noItemsOfKind,
        noTargetDirectory,
        noClipboardPath,
        pasteboardWriteFailed,
    };

    FinderActionExecutionError(Kind kind, std::string payload = {});

    static FinderActionExecutionError applicationNotFound(std::string name) { return {Kind::applicationNotFound, std::move(name)}; }
    static FinderActionExecutionError destinationDirectoryUnavailable(std::string path) {
        return {Kind::destinationDirectoryUnavailable, std::move(path)};
    }
    static FinderActionExecutionError invalidPath(std::string path) { return {Kind::invalidPath, std::move(path)}; }
    static FinderActionExecutionError sourceItemMissing(std::string path) { return {Kind::sourceItemMissing, std::move(path)}; }
    static FinderActionExecutionError commandFailed(std::string message) { return {Kind::commandFailed, std::move(message)}; }
    static FinderActionExecutionError unsupportedAction(std::string id) { return {Kind::unsupportedAction, std::move(id)}; }
    static FinderActionExecutionError noSelection() { return {Kind::noSelection}; }
    /// The kinds of file an action can need.
    enum class ItemKind { pdf, zip, image };
    /// Items are selected, but none of the kind the action works on.
    static FinderActionExecutionError noItemsOfKind(ItemKind kind);
    static FinderActionExecutionError noTargetDirectory() { return {Kind::noTargetDirectory}; }
    static FinderActionExecutionError noClipboardPath() { return {Kind::noClipboardPath}; }
    static FinderActionExecutionError pasteboardWriteFailed() { return {Kind::pasteboardWriteFailed}; }

    Kind kind() const { return kind_; }
    const std::string& payload() const { return payload_; }
    /// The user-visible sentence (also what()).
    std::string errorDescription() const { return what(); }

private:
    Kind kind_;
    std::string payload_;
};

/// The text a caller logs or shows for any failure of an action. System errors become a Chinese
/// sentence followed by the path they concern.
std::string errorDescription(const std::exception& error);

/// The Chinese sentence for a system error number (ENOSPC: "磁盘空间不足", …).
std::string systemErrorSentence(int error);

} // namespace quilla
