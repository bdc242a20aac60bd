#include "app/core/deletion/ScheduledDeletionRunner.h"

#include "app/core/deletion/ScheduledDeletionStore.h"

namespace quilla {

ScheduledDeletionRunner::ScheduledDeletionRunner(ScheduledDeletionStore& store, Trash& trash, Timing timing)
    : store_(store), trash_(trash), timing_(timing) {}

ScheduledDeletionRunner::ScheduledDeletionRunner(ScheduledDeletionStore& store, Trash& trash)
    : ScheduledDeletionRunner(store, trash, Timing{}) {}

ScheduledDeletionRunner::~ScheduledDeletionRunner() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    if (timer_.joinable()) {
        timer_.join();
    }
}

void ScheduledDeletionRunner::start() {
    std::lock_guard lock(mutex_);
    if (timer_.joinable() || stopping_) {
        return;
    }
    store_.processDueItems(trash_);
    timer_ = std::thread([this] { timerLoop(); });
}

void ScheduledDeletionRunner::timerLoop() {
    auto next = std::chrono::steady_clock::now() + timing_.firstDelay;
    std::unique_lock lock(mutex_);
    while (!wake_.wait_until(lock, next, [this] { return stopping_; })) {
        store_.processDueItems(trash_);
        // After a long suspend one catch-up run follows, not one per missed interval.
        next = std::max(next + timing_.interval, std::chrono::steady_clock::now());
    }
}

} // namespace quilla
