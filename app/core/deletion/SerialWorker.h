#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <future>
#include <mutex>
#include <string>
#include <thread>

namespace quilla {

/// One background thread that runs submitted tasks one at a time, in submission order.
/// Destruction finishes the tasks already queued, then joins the thread.
class SerialWorker final {
public:
    explicit SerialWorker(std::string name);
    ~SerialWorker();
    SerialWorker(const SerialWorker&) = delete;
    SerialWorker& operator=(const SerialWorker&) = delete;

    /// Queues `task`; the future becomes ready when it has run (carrying its exception, if any).
    std::future<void> submit(std::function<void()> task);

private:
    void loop();

    std::string name_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::packaged_task<void()>> tasks_;
    bool stopping_ = false;
    std::thread thread_;
};

} // namespace quilla
