#pragma once

#include "app/core/platform/Prompts.h"

#include <functional>

namespace quilla {

class QtMainThreadDispatcher;

/// The executor's modal questions as Qt dialogs on the main thread: a caller on another thread
/// waits for the answer. When dialogs cannot be shown (a windowless start, no QApplication because
/// there is no display, or the application quitting) every prompt throws PromptUnavailable and the
/// diagnostic log says why.
class QtPrompts final : public Prompts {
public:
    /// `dialogsAllowed` false keeps every dialog away even when a display exists (windowless start).
    QtPrompts(QtMainThreadDispatcher& dispatcher, bool dialogsAllowed);

    std::optional<std::string> promptText(const std::string& title, const std::string& message) override;

    std::optional<std::pair<std::string, std::string>>
    promptTwoTexts(const std::string& title, const std::string& firstLabel, const std::string& secondLabel,
                   const std::string& message = {}) override;

    std::optional<std::filesystem::path>
    chooseDirectory(const std::string& title, const std::string& confirmButton,
                    const std::optional<std::filesystem::path>& startingDirectory = std::nullopt) override;

    /// Whether a dialog can be shown now.
    bool dialogsAvailable() const;

    // Object names of the dialogs' parts, for tests and accessibility tools.
    static constexpr const char* fieldName = "quillaPromptField";
    static constexpr const char* firstFieldName = "quillaPromptFirstField";
    static constexpr const char* secondFieldName = "quillaPromptSecondField";

private:
    /// Runs `show` on the main thread; logs the reason and throws PromptUnavailable when no dialog
    /// can be shown.
    void runDialog(const std::string& title, const std::function<void()>& show);

    QtMainThreadDispatcher& dispatcher_;
    bool dialogsAllowed_;
};

} // namespace quilla
