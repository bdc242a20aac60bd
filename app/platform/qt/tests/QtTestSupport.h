#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>

class QTimer;
class QWidget;

namespace quilla::test {

/// The process's QApplication (offscreen platform under ctest), created on first use and kept
/// until exit: Qt allows only one per process.
void ensureQtApplication();

/// Processes Qt events until `done` holds or `timeout` passes; answers `done()`.
bool spinUntil(const std::function<bool()>& done,
               std::chrono::milliseconds timeout = std::chrono::seconds(10));

/// Picks `file` in an open QFileDialog and accepts it, the way typing its path and pressing the
/// accept button would.
void pickInFileDialog(QWidget* fileDialog, const std::filesystem::path& file);

/// Answers the next modal window that `accepts` from inside its own event loop, as a user would:
/// `answer` gets the window once it is visible (and should close it). Polls every 10 ms; stops
/// when destroyed.
class ModalAnswerer final {
public:
    explicit ModalAnswerer(
        std::function<void(QWidget*)> answer,
        std::function<bool(QWidget*)> accepts = [](QWidget*) { return true; });
    ~ModalAnswerer();
    ModalAnswerer(const ModalAnswerer&) = delete;
    ModalAnswerer& operator=(const ModalAnswerer&) = delete;

    bool answered() const { return answered_; }

private:
    std::unique_ptr<QTimer> timer_;
    bool answered_ = false;
};

} // namespace quilla::test
