#pragma once

#include "app/core/platform/ActionConsentPrompt.h"

namespace quilla {

/// The consent question as a modal Qt dialog: "继续" and "取消", with "取消" the default and the
/// answer to Escape or closing. Main thread only. Without dialogs (a windowless start, or no
/// display) the answer is `unavailable`.
class QtActionConsentPrompt final : public ActionConsentPrompt {
public:
    explicit QtActionConsentPrompt(bool dialogsAllowed);

    Answer confirm(const ActionConsentQuestion& question) override;

    // Object names of the buttons, for tests and accessibility tools.
    static constexpr const char* runButtonName = "quillaConsentRun";
    static constexpr const char* cancelButtonName = "quillaConsentCancel";

private:
    bool dialogsAllowed_;
};

} // namespace quilla
