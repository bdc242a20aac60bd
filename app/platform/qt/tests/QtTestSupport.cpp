#include "app/platform/qt/tests/QtTestSupport.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <thread>

namespace quilla::test {

void ensureQtApplication() {
    static int argc = 1;
    static char name[] = "quilla-tests";
    static char* argv[] = {name, nullptr};
    static auto* app = new QApplication(argc, argv); // lives to the end of the process
    (void)app;
}

bool spinUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

ModalAnswerer::ModalAnswerer(std::function<void(QWidget*)> answer) : timer_(std::make_unique<QTimer>()) {
    timer_->setInterval(10);
    QObject::connect(timer_.get(), &QTimer::timeout, [this, answer = std::move(answer)] {
        QWidget* window = QApplication::activeModalWidget();
        if (!window || !window->isVisible()) {
            return;
        }
        timer_->stop();
        answered_ = true;
        answer(window);
    });
    timer_->start();
}

ModalAnswerer::~ModalAnswerer() = default;

} // namespace quilla::test
