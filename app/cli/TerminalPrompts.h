#pragma once

#include "app/core/platform/Prompts.h"

#include <istream>
#include <ostream>

namespace quilla {

/// Questions asked on the terminal: the title (and message) go to `out`, then one line is read
/// from `in` per field. Input that has ended cannot answer: the prompt throws PromptUnavailable.
class TerminalPrompts final : public Prompts {
public:
    TerminalPrompts(std::istream& in, std::ostream& out) : in_(in), out_(out) {}

    std::optional<std::string> promptText(const std::string& title, const std::string& message) override;
    std::optional<std::pair<std::string, std::string>> promptTwoTexts(const std::string& title,
                                                                      const std::string& firstLabel,
                                                                      const std::string& secondLabel,
                                                                      const std::string& message) override;
    /// Reads a folder path the same way ("~" and quotes understood); an empty line cancels.
    std::optional<std::filesystem::path>
    chooseDirectory(const std::string& title, const std::string& confirmButton,
                    const std::optional<std::filesystem::path>& startingDirectory) override;

private:
    void showHeading(const std::string& title, const std::string& message);
    /// One line for the field `label` of the prompt `title`; throws PromptUnavailable at end of input.
    std::string readLine(const std::string& title, const std::string& label);

    std::istream& in_;
    std::ostream& out_;
};

} // namespace quilla
