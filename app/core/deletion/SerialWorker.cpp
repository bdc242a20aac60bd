#include "app/core/deletion/SerialWorker.h"

#include <pthread.h>

namespace quilla {

SerialWorker::SerialWorker(std::string name) : name_(std::move(name)), thread_([this] { loop(); }) {}

SerialWorker::~SerialWorker() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

std::future<void> SerialWorker::submit(std::function<void()> task) {
    std::packaged_task<void()> packaged(std::move(task));
    auto future = packaged.get_future();
    {
        std::lock_guard lock(mutex_);
        tasks_.push_back(std::move(packaged));
    }
    wake_.notify_one();
    return future;
}

void SerialWorker::loop() {
    // Thread names are limited to 15 bytes; the start is enough to find it in a debugger.
    ::pthread_setname_np(::pthread_self(), name_.substr(0, 15).c_str());
    for (;;) {
        std::packaged_task<void()> task;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return stopping_ || !tasks_.empty(); });
            if (tasks_.empty()) {
                return;
            }
            task = std::move(tasks_.front());
            tasks_.pop_front();
        }
        task();
    }
}

} // namespace quilla
