#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <utility>

namespace quilla {

/// Modal questions to the user. Implementations run them on the main thread and make a caller
/// on another thread wait for the answer. A prompt that cannot be shown at all (no display, a
/// windowless start, no input left) throws PromptUnavailable; it never answers "cancel".
class Prompts {
public:
    virtual ~Prompts() = default;

    /// Alert titled `title` with `message`, buttons "确定"/"取消" and one 320×24 text field.
    /// The typed text (untrimmed), or nothing on cancel.
    virtual std::optional<std::string> promptText(const std::string& title, const std::string& message) = 0;

    /// The same alert with two empty fields (placeholders `firstLabel`, `secondLabel`) stacked in a
    /// 360×62 view; `message` is the informative text (may be empty). Both texts, or nothing.
    virtual std::optional<std::pair<std::string, std::string>>
    promptTwoTexts(const std::string& title, const std::string& firstLabel, const std::string& secondLabel,
                   const std::string& message = {}) = 0;

    /// A folder chooser titled `title` whose confirm button reads `confirmButton`; folders only,
    /// one at a time, new folders may be created. The chosen folder, or nothing on cancel.
    virtual std::optional<std::filesystem::path>
    chooseDirectory(const std::string& title, const std::string& confirmButton,
                    const std::optional<std::filesystem::path>& startingDirectory = std::nullopt) = 0;
};

} // namespace quilla
