#pragma once

#include <QObject>

#include <initializer_list>
#include <memory>
#include <vector>

class QSocketNotifier;

namespace quilla {

/// Turns SIGTERM and SIGINT into a Qt signal on the main thread (self-pipe: the handler only
/// writes one byte), so the application leaves its main loop and shuts down in order.
/// One per process.
class UnixSignalWatcher final : public QObject {
    Q_OBJECT

public:
    explicit UnixSignalWatcher(std::initializer_list<int> signalNumbers);
    /// Restores the default handlers.
    ~UnixSignalWatcher() override;

    /// False when the pipe or the handlers could not be set up.
    bool isWatching() const { return watching_; }

Q_SIGNALS:
    void received(int signalNumber);

private:
    void readPipe();

    std::unique_ptr<QSocketNotifier> notifier_;
    std::vector<int> signals_;
    bool watching_ = false;
};

} // namespace quilla
