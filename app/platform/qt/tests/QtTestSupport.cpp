#include "app/platform/qt/tests/QtTestSupport.h"

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
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

void pickInFileDialog(QWidget* fileDialog, const std::filesystem::path& file) {
    auto* dialog = qobject_cast<QFileDialog*>(fileDialog);
    dialog->setDirectory(QString::fromStdString(file.parent_path().string()));
    // Typed into the name field, as a user would: selectFile() leaves the field alone while it
    // has the focus, which the dialog gives it at some moment after showing.
    auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    name->setText(QString::fromStdString(file.string()));
    static_cast<QDialog*>(dialog)->accept(); // QFileDialog::accept is protected
}

ModalAnswerer::ModalAnswerer(std::function<void(QWidget*)> answer, std::function<bool(QWidget*)> accepts)
    : timer_(std::make_unique<QTimer>()) {
    timer_->setInterval(10);
    QObject::connect(timer_.get(), &QTimer::timeout,
                     [this, answer = std::move(answer), accepts = std::move(accepts)] {
                         QWidget* window = QApplication::activeModalWidget();
                         if (!window || !window->isVisible() || !accepts(window)) {
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
