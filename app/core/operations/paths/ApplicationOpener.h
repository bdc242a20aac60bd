#pragma once

#include "app/core/executor/ExecutorContext.h"
#include "app/core/operations/paths/QuillaExternalApplication.h"

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace quilla {

/// Opening items with a particular application: the terminal, the two editors and the user's
/// favourite applications (desktop entries). Every start is logged and waited for at most
/// `timeout`; a start that does not finish in time fails with "打开应用超时。".
class ApplicationOpener final {
public:
    explicit ApplicationOpener(const ExecutorContext& context,
                               std::chrono::milliseconds timeout = std::chrono::seconds(10));

    /// Starts the application of the desktop entry `application` with the items.
    void openURLs(const std::vector<std::filesystem::path>& items, const std::filesystem::path& application) const;

    /// Opens the desktop's terminal in the target folder; applicationNotFound("Terminal") when
    /// there is none.
    void openInTerminal(const std::vector<std::filesystem::path>& selected,
                        const std::optional<std::filesystem::path>& targeted) const;

    /// Opens the target folder (never the selected files) in the editor.
    void openInApplication(const QuillaExternalApplication& application,
                           const std::vector<std::filesystem::path>& selected,
                           const std::optional<std::filesystem::path>& targeted) const;

    /// Opens the selection (else the targeted item) with the desktop entry at `application`.
    void openWithApplicationPath(const std::vector<std::filesystem::path>& selected,
                                 const std::optional<std::filesystem::path>& targeted,
                                 const std::optional<std::filesystem::path>& application) const;

private:
    /// Runs `start` on a helper thread and waits for it; logs the outcome with `applicationText`.
    /// Gives the error text of a failed start, or nothing on success; throws commandFailed
    /// ("打开应用超时。") when the start does not finish in time.
    std::optional<std::string> timedStart(const std::string& applicationText,
                                          const std::vector<std::filesystem::path>& items,
                                          std::function<bool(std::string*)> start) const;

    ExecutorContext context_;
    std::chrono::milliseconds timeout_;
};

} // namespace quilla
