#pragma once

#include "app/core/executor/FinderActionExecutionError.h"

#include <functional>
#include <string>

namespace quilla::test {

/// The message a caller would log or show for what `action` throws; "no failure" when it returns.
inline std::string failureOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const std::exception& e) {
        return errorDescription(e);
    }
    return "no failure";
}

} // namespace quilla::test
