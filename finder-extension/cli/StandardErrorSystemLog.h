#pragma once

#include "finder-extension/core/FinderSystemLog.h"

#include <cstdio>
#include <string>

namespace quilla {

/// The system log of a command-line host: one line per message on standard error.
class StandardErrorSystemLog final : public FinderSystemLog {
public:
    void log(Level, std::string_view, std::string_view message) noexcept override {
        std::fwrite(message.data(), 1, message.size(), stderr);
        std::fputc('\n', stderr);
    }
};

} // namespace quilla
