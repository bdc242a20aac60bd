#pragma once

#include "app/core/Observable.h"
#include "app/core/executor/ActionRequest.h"
#include "app/core/platform/ActionConsentPrompt.h"

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quilla {

class FinderScripting;
struct QuillaURLRequest;

/// The route of "quilla://" URLs: drops repeats within a second, decodes the URL, completes the
/// selection and target from the file manager, asks the user before an action that changes files,
/// runs it synchronously and publishes what it worked on. Main thread only. Failures are logged
/// and handed to `actionFailed` (a notification), never shown as an alert.
class FinderSelectionModel final : public Observable {
public:
    using Clock = std::chrono::steady_clock;

    struct Dependencies {
        std::function<ActionResult(const ActionRequest&)> perform;
        FinderScripting& finderScripting;
        ActionConsentPrompt& consent;
        std::function<void()> presentFeatureRequest;          ///< the feature-request form
        std::function<void(std::string_view)> log;            ///< the diagnostic log
        std::function<void(const std::string&)> actionFailed; ///< the error's text, for a notification
        std::function<Clock::time_point()> now = [] { return Clock::now(); };
    };

    explicit FinderSelectionModel(Dependencies dependencies);

    /// The whole route for one delivered URL (its absolute string).
    void handleIncomingURL(const std::string& url);

    /// The items the last URL action produced, or those it worked on when it produced none or failed.
    const std::vector<std::filesystem::path>& selectedFiles() const { return selectedFiles_; }
    /// The "action" item of the last URL action, none when it had none.
    const std::optional<std::string>& lastActionTitle() const { return lastActionTitle_; }

    /// How long the same URL counts as a repeat delivery.
    static constexpr std::chrono::milliseconds repeatWindow{1000};

private:
    bool shouldHandle(const std::string& url);
    void handleFinderAction(const QuillaURLRequest& request, const std::string& url);
    bool consented(const ActionRequest& request);
    void failed(const std::string& actionID, const std::string& description);

    Dependencies deps_;
    std::vector<std::filesystem::path> selectedFiles_;
    std::optional<std::string> lastActionTitle_;
    std::optional<std::string> lastHandledURLString_;
    std::optional<Clock::time_point> lastHandledDate_;
    bool asking_ = false; ///< a consent question is open
};

} // namespace quilla
