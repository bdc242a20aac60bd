#pragma once

#include "app/core/executor/ActionRequest.h"
#include "app/core/runner/QueuedActionDecoding.h"

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quilla {

/// The application's consumer of the action queue. Passes run strictly one after another on the
/// runner's own worker thread ("app.kelvarin.Quilla.action-runner"); each queued file is claimed by
/// renaming it, decoded, handed to the executor, removed and logged. Errors are only logged.
///
/// A queue folder is used only while it is a real folder (never a link) owned by this user that
/// nobody else may write to, and a queued file only when this user owns it: anyone who could put
/// a file there could otherwise make this user run anything.
class QuillaQueuedActionRunner final {
public:
    using Perform = std::function<ActionResult(const ActionRequest&)>;
    /// Runs a closure on the application's main thread, asynchronously.
    using PostToMain = std::function<void(std::function<void()>)>;

    QuillaQueuedActionRunner(Perform perform, PostToMain postToMain,
                             std::vector<std::filesystem::path> queueDirectories = queueDirectoryURLs());
    /// Stops polling and waits for the pass in progress to end.
    ~QuillaQueuedActionRunner();
    QuillaQueuedActionRunner(const QuillaQueuedActionRunner&) = delete;
    QuillaQueuedActionRunner& operator=(const QuillaQueuedActionRunner&) = delete;

    /// Schedules one drain pass and returns at once. Safe from any thread, any number of times.
    void drain();
    /// Starts the poll timer (first after `interval`, then every `interval`); later calls do nothing.
    void startPolling(std::chrono::milliseconds interval = std::chrono::seconds(1));
    /// Hands the error text of each later failed action to `observer`, on the main thread (through
    /// PostToMain), after the suppressed-alert line. Safe from any thread.
    void setFailureObserver(std::function<void(const std::string&)> observer);
    /// Deals with the claims a killed earlier run left behind (".processing" files nobody holds):
    /// each is reported in the log; an action that is safe to repeat (isSafeToRepeat) is queued
    /// again once, every other one is dropped. What the interrupted action left half-made in the
    /// folders it worked in and in the temporary folder is removed (LeftoverFiles). Call once at
    /// start-up, before the first drain.
    void recoverInterruptedActions();

    /// Whether running `actionID` a second time can do no harm: it changes no file (path copies,
    /// opening a fixed folder, revealing the selection).
    static bool isSafeToRepeat(std::string_view actionID);

    /// Blocks until every pass scheduled so far has finished (for the command line and tests).
    void waitUntilIdle();

    /// The primary queue directory, then the fallback one when it passes the ownership check
    /// (a failing fallback is logged once per start).
    static std::vector<std::filesystem::path> queueDirectoryURLs();

private:
    struct State;
    std::unique_ptr<State> state_;
};

} // namespace quilla
