#pragma once

#include <chrono>
#include <functional>

namespace quilla::test {

/// The process's QApplication (offscreen platform under ctest), created on first use and kept
/// until exit: Qt allows only one per process.
void ensureQtApplication();

/// Processes Qt events until `done` holds or `timeout` passes; answers `done()`.
bool spinUntil(const std::function<bool()>& done,
               std::chrono::milliseconds timeout = std::chrono::seconds(10));

} // namespace quilla::test
