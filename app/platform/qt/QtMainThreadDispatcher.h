#pragma once

#include <functional>
#include <memory>

namespace quilla {

/// Hands work to the application's main thread (the thread of the Qt application object).
/// Prompts and the clipboard must run there; the queue runner calls them from its own thread.
class QtMainThreadDispatcher final {
public:
    QtMainThreadDispatcher();
    ~QtMainThreadDispatcher();
    QtMainThreadDispatcher(const QtMainThreadDispatcher&) = delete;
    QtMainThreadDispatcher& operator=(const QtMainThreadDispatcher&) = delete;

    /// Queues `work` on the main thread and returns at once. Without an application object the
    /// work runs at once on the caller's thread, since no main loop will ever run it.
    void post(std::function<void()> work);

    /// Runs `work` on the main thread and waits until it has finished: directly when called on the
    /// main thread, else queued there. False when the work did not run because the dispatcher was
    /// shut down first (or there is no application object); the work is then never run later.
    bool runAndWait(const std::function<void()>& work);

    /// Ends waiting: calls still queued are abandoned (their callers get false at once) and later
    /// calls from other threads are refused. Work already running is waited for. Main thread only.
    void shutDown();

    /// Whether the calling thread is the application's main thread.
    static bool isMainThread();

private:
    struct Shared;
    // Shared with the queued closures, which may outlive the dispatcher in the event queue.
    std::shared_ptr<Shared> shared_;
};

} // namespace quilla
