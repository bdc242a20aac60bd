#include "app/platform/qt/QtMainThreadDispatcher.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>

#include <condition_variable>
#include <mutex>

namespace quilla {
namespace {

// One hop to the main thread. The waiting side may give up (shut-down) only while the work has
// not started; from then on the work never runs, so it cannot touch the waiter's dead stack frame.
enum class CallState { queued, running, finished, abandoned };

} // namespace

struct QtMainThreadDispatcher::Shared {
    std::mutex mutex;
    std::condition_variable changed;
    bool shutDown = false;
};

QtMainThreadDispatcher::QtMainThreadDispatcher() : shared_(std::make_shared<Shared>()) {}

QtMainThreadDispatcher::~QtMainThreadDispatcher() {
    shutDown();
}

bool QtMainThreadDispatcher::isMainThread() {
    const QCoreApplication* app = QCoreApplication::instance();
    return app && QThread::currentThread() == app->thread();
}

void QtMainThreadDispatcher::post(std::function<void()> work) {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app) {
        work();
        return;
    }
    QMetaObject::invokeMethod(app, std::move(work), Qt::QueuedConnection);
}

bool QtMainThreadDispatcher::runAndWait(const std::function<void()>& work) {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app) {
        return false;
    }
    if (isMainThread()) {
        work();
        return true;
    }
    auto state = std::make_shared<CallState>(CallState::queued);
    {
        std::lock_guard lock(shared_->mutex);
        if (shared_->shutDown) {
            return false;
        }
    }
    QMetaObject::invokeMethod(
        app,
        [shared = shared_, state, &work] {
            {
                std::lock_guard lock(shared->mutex);
                if (*state != CallState::queued) {
                    return; // the caller gave up and its `work` is gone
                }
                *state = CallState::running;
            }
            work();
            {
                std::lock_guard lock(shared->mutex);
                *state = CallState::finished;
            }
            shared->changed.notify_all();
        },
        Qt::QueuedConnection);

    std::unique_lock lock(shared_->mutex);
    shared_->changed.wait(lock, [&] {
        return *state == CallState::finished || (shared_->shutDown && *state == CallState::queued);
    });
    if (*state == CallState::finished) {
        return true;
    }
    *state = CallState::abandoned;
    return false;
}

void QtMainThreadDispatcher::shutDown() {
    {
        std::lock_guard lock(shared_->mutex);
        shared_->shutDown = true;
    }
    shared_->changed.notify_all();
}

} // namespace quilla
