#pragma once

#include "app/core/deletion/ScheduledDeletionStore.h"
#include "tests/support/ChildProcess.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace quilla::test {

/// A store on a file of its own, with a clock the test moves and the log lines kept in memory.
struct StoreFixture {
    explicit StoreFixture(std::filesystem::path file);

    std::vector<std::string> logLines() const;
    void advance(std::chrono::seconds by) { now = now + by; }

    std::chrono::system_clock::time_point now = std::chrono::system_clock::time_point(std::chrono::seconds(800'000'000));
    std::shared_ptr<std::mutex> logMutex = std::make_shared<std::mutex>();
    std::shared_ptr<std::vector<std::string>> lines = std::make_shared<std::vector<std::string>>();
    std::unique_ptr<ScheduledDeletionStore> store;
};

/// Counts the change announcements while it lives.
class ChangeCounter final {
public:
    ChangeCounter();
    ~ChangeCounter();
    int count() const { return *count_; }

private:
    std::shared_ptr<std::atomic<int>> count_ = std::make_shared<std::atomic<int>>(0);
    ScheduledDeletionStore::ObserverToken token_;
};

} // namespace quilla::test
