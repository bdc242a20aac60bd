#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace quilla {

class ScheduledDeletionStore;
class Trash;

/// The timer that moves due items to the Trash while the application runs: one processing run
/// at start, then the first timed run after `firstDelay` and one every `interval` after that. Each
/// firing only queues a run on the store's serial worker. Destruction stops the timer.
class ScheduledDeletionRunner final {
public:
    struct Timing {
        std::chrono::milliseconds firstDelay = std::chrono::seconds(60);
        std::chrono::milliseconds interval = std::chrono::seconds(3600);
    };

    /// `store` and `trash` must outlive the runner.
    ScheduledDeletionRunner(ScheduledDeletionStore& store, Trash& trash, Timing timing);
    ScheduledDeletionRunner(ScheduledDeletionStore& store, Trash& trash);
    ~ScheduledDeletionRunner();
    ScheduledDeletionRunner(const ScheduledDeletionRunner&) = delete;
    ScheduledDeletionRunner& operator=(const ScheduledDeletionRunner&) = delete;

    /// Queues a run at once and starts the timer; later calls do nothing.
    void start();

private:
    void timerLoop();

    ScheduledDeletionStore& store_;
    Trash& trash_;
    Timing timing_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stopping_ = false;
    std::thread timer_;
};

} // namespace quilla
