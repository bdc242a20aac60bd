#pragma once

#include "app/core/platform/ActionConsentPrompt.h"
#include "app/core/platform/DesktopNotifier.h"

#include <functional>
#include <string>
#include <vector>

namespace quilla::test {

/// Records every notification instead of showing it.
class FakeDesktopNotifier final : public DesktopNotifier {
public:
    struct Posted {
        std::string title;
        std::string body;
    };
    void post(const std::string& title, const std::string& body) override { posted.push_back({title, body}); }

    std::vector<Posted> posted;
};

/// Answers every consent question with `answer` and records the questions.
class FakeActionConsentPrompt final : public ActionConsentPrompt {
public:
    Answer confirm(const ActionConsentQuestion& question) override {
        asked.push_back(question);
        if (whileAsking) {
            whileAsking(); // what arrives while the dialog's own event loop runs
        }
        return answer;
    }

    Answer answer = Answer::refused;
    std::function<void()> whileAsking;
    std::vector<ActionConsentQuestion> asked;
};

} // namespace quilla::test
