#include "app/cli/TerminalPrompts.h"

#include "app/core/operations/paths/FileURL.h"
#include "app/core/operations/paths/PathText.h"
#include "app/core/platform/PromptUnavailable.h"

#include <string>

namespace quilla {

void TerminalPrompts::showHeading(const std::string& title, const std::string& message) {
    out_ << title << '\n';
    if (!message.empty()) {
        out_ << message << '\n';
    }
}

std::string TerminalPrompts::readLine(const std::string& title, const std::string& label) {
    out_ << (label.empty() ? std::string("> ") : label + ": ") << std::flush;
    std::string line;
    if (!std::getline(in_, line)) {
        out_ << '\n';
        throw PromptUnavailable(title);
    }
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    return line;
}

std::optional<std::string> TerminalPrompts::promptText(const std::string& title, const std::string& message) {
    showHeading(title, message);
    return readLine(title, {});
}

std::optional<std::pair<std::string, std::string>>
TerminalPrompts::promptTwoTexts(const std::string& title, const std::string& firstLabel,
                                const std::string& secondLabel, const std::string& message) {
    showHeading(title, message);
    auto first = readLine(title, firstLabel);
    auto second = readLine(title, secondLabel);
    return std::pair{std::move(first), std::move(second)};
}

std::optional<std::filesystem::path>
TerminalPrompts::chooseDirectory(const std::string& title, const std::string& confirmButton,
                                 const std::optional<std::filesystem::path>& /*startingDirectory*/) {
    showHeading(title, {});
    const std::string text = PathText::normalizedPathText(readLine(title, confirmButton));
    if (text.empty()) {
        return std::nullopt;
    }
    // On the terminal a relative path means the working folder, as in any other command.
    if (text.front() != '~' && text.front() != '/' && !FileURL::hasFileScheme(text)) {
        return std::filesystem::absolute(text);
    }
    // A folder that does not exist is handed on as typed; the action reports it in its own words.
    if (auto existing = PathText::fileURL(text)) {
        return existing;
    }
    return std::filesystem::path(text);
}

} // namespace quilla
