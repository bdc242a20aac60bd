#pragma once

#include <exception>
#include <string_view>

namespace quilla {

/// Logs that an entry point of the module failed with `reason`. Never throws.
void reportBoundaryFailure(std::string_view entryPoint, std::string_view reason) noexcept;

/// Runs `body` on behalf of GNOME Files and returns its result. A C++ exception never crosses
/// into the file manager (it would take it down): it is logged and `fallback` is returned.
template <class Result, class Body>
Result callAtBoundary(std::string_view entryPoint, Result fallback, Body&& body) noexcept {
    try {
        return body();
    } catch (const std::exception& error) {
        reportBoundaryFailure(entryPoint, error.what());
    } catch (...) {
        reportBoundaryFailure(entryPoint, "unknown exception");
    }
    return fallback;
}

/// The same for entry points without a result.
template <class Body> void callAtBoundary(std::string_view entryPoint, Body&& body) noexcept {
    callAtBoundary(entryPoint, 0, [&] {
        body();
        return 0;
    });
}

} // namespace quilla
