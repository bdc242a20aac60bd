#pragma once

#include <string>
#include <vector>

namespace quilla {

/// The question put to the user before an action that arrived from outside (a URL any page or
/// program can open) may change their files.
struct ActionConsentQuestion {
    std::string message;                ///< names the action by its title
    std::vector<std::string> itemLines; ///< the first few paths, then a count of the rest
};

/// Asks the user whether an action from outside may run. "取消" is the default answer.
class ActionConsentPrompt {
public:
    enum class Answer {
        allowed,     ///< the user chose to run it
        refused,     ///< the user cancelled
        unavailable, ///< no dialog can be shown (no display, or a windowless start)
    };

    virtual ~ActionConsentPrompt() = default;
    /// Shows the question modally on the main thread and answers what the user chose.
    virtual Answer confirm(const ActionConsentQuestion& question) = 0;
};

} // namespace quilla
