#include "app/core/url/FinderSelectionModel.h"

#include "app/core/executor/FinderActionExecutionError.h"
#include "app/core/url/FinderCurrentContext.h"
#include "app/core/url/QuillaURLRequest.h"
#include "app/core/url/URLActionConsent.h"
#include "shared/L10n.h"
#include "shared/LogText.h"

namespace quilla {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> texts(const std::vector<fs::path>& paths) {
    std::vector<std::string> result;
    result.reserve(paths.size());
    for (const auto& path : paths) {
        result.push_back(path.string());
    }
    return result;
}

std::string optionalText(const std::optional<fs::path>& path) {
    return path ? path->string() : "nil";
}

} // namespace

FinderSelectionModel::FinderSelectionModel(Dependencies dependencies) : deps_(std::move(dependencies)) {}

bool FinderSelectionModel::shouldHandle(const std::string& url) {
    const auto now = deps_.now();
    if (lastHandledURLString_ == url && lastHandledDate_ && now - *lastHandledDate_ < repeatWindow) {
        return false;
    }
    lastHandledURLString_ = url;
    lastHandledDate_ = now;
    return true;
}

void FinderSelectionModel::handleIncomingURL(const std::string& url) {
    const auto request = QuillaURLRequest::parse(url);
    if (!request || !shouldHandle(url)) {
        return;
    }
    switch (request->host) {
    case QuillaURLRequest::Host::featureRequest:
        deps_.presentFeatureRequest();
        return;
    case QuillaURLRequest::Host::finderAction:
        handleFinderAction(*request, url);
        return;
    case QuillaURLRequest::Host::other:
        return;
    }
}

void FinderSelectionModel::handleFinderAction(const QuillaURLRequest& request, const std::string& url) {
    lastActionTitle_ = request.actionTitle;
    const std::vector<fs::path> passed(request.paths.begin(), request.paths.end());
    const std::optional<fs::path> passedTarget =
        request.target ? std::optional<fs::path>(*request.target) : std::nullopt;
    FinderCurrentContext finder;
    if (passed.empty() || !passedTarget) {
        finder = FinderCurrentContext::read(deps_.finderScripting);
    }
    ActionRequest action{
        .actionID = request.actionID,
        .selectedPaths = passed.empty() ? finder.selectedURLs : passed,
        .targetedPath = passedTarget ? passedTarget : finder.targetedURL,
        .destinationPath = request.destination ? std::optional<fs::path>(*request.destination) : std::nullopt,
        .presetID = request.presetID,
    };
    deps_.log("action=" + action.actionID + " passed=" + bracketedList(texts(passed)) + " selected=" +
              bracketedList(texts(action.selectedPaths)) + " target=" + optionalText(action.targetedPath) +
              " destination=" + optionalText(action.destinationPath) + " url=" + url);

    selectedFiles_ = action.selectedPaths;
    if (!consented(action)) {
        notifyChanged();
        return;
    }
    try {
        const ActionResult produced = deps_.perform(action);
        if (!produced.empty()) {
            selectedFiles_ = produced;
        }
        deps_.log("action succeeded: " + action.actionID);
    } catch (const std::exception& error) {
        failed(action.actionID, errorDescription(error));
    } catch (...) {
        failed(action.actionID, "unknown error");
    }
    notifyChanged();
}

bool FinderSelectionModel::consented(const ActionRequest& request) {
    if (URLActionConsent::runsWithoutConsent(request.actionID)) {
        return true;
    }
    // The dialog runs its own event loop, in which more URLs arrive: a page sending many would
    // otherwise stack dialogs until one is confirmed by mistake. One question at a time.
    if (asking_) {
        deps_.log("url action refused, another confirmation is open: " + request.actionID);
        return false;
    }
    asking_ = true;
    const auto answer = deps_.consent.confirm(URLActionConsent::question(request));
    asking_ = false;
    switch (answer) {
    case ActionConsentPrompt::Answer::allowed:
        return true;
    case ActionConsentPrompt::Answer::refused:
        deps_.log("url action refused by the user: " + request.actionID);
        return false;
    case ActionConsentPrompt::Answer::unavailable:
        deps_.log("url action refused, no dialog to confirm it: " + request.actionID);
        // The sender sees nothing else happen, so this counts as a failed action.
        deps_.actionFailed(L10n::format<"没有可以确认的窗口，未执行来自其他程序的“%@”。">(URLActionConsent::actionTitle(request.actionID)));
        return false;
    }
    return false;
}

void FinderSelectionModel::failed(const std::string& actionID, const std::string& description) {
    deps_.log("action failed: " + actionID + " error=" + description);
    deps_.log("suppressed error alert: " + description);
    deps_.actionFailed(description);
}

} // namespace quilla
