#include "app/ui/UnixSignalWatcher.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace quilla {
namespace {

int pipeFds[2] = {-1, -1};

extern "C" void writeSignalToPipe(int signalNumber) {
    const int savedErrno = errno;
    const unsigned char byte = static_cast<unsigned char>(signalNumber);
    [[maybe_unused]] const ssize_t written = ::write(pipeFds[1], &byte, 1);
    errno = savedErrno;
}

} // namespace

UnixSignalWatcher::UnixSignalWatcher(std::initializer_list<int> signalNumbers) : signals_(signalNumbers) {
    if (pipeFds[0] >= 0 || ::pipe2(pipeFds, O_CLOEXEC | O_NONBLOCK) != 0) {
        return;
    }
    notifier_ = std::make_unique<QSocketNotifier>(pipeFds[0], QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, [this] { readPipe(); });
    struct sigaction action = {};
    action.sa_handler = writeSignalToPipe;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    watching_ = true;
    for (const int number : signals_) {
        watching_ = ::sigaction(number, &action, nullptr) == 0 && watching_;
    }
}

UnixSignalWatcher::~UnixSignalWatcher() {
    if (!notifier_) {
        return;
    }
    for (const int number : signals_) {
        ::signal(number, SIG_DFL);
    }
    notifier_.reset();
    ::close(pipeFds[0]);
    ::close(pipeFds[1]);
    pipeFds[0] = pipeFds[1] = -1;
}

void UnixSignalWatcher::readPipe() {
    unsigned char byte = 0;
    std::vector<int> received;
    while (::read(pipeFds[0], &byte, 1) == 1) {
        received.push_back(byte);
    }
    for (const int number : received) {
        Q_EMIT this->received(number);
    }
}

} // namespace quilla
