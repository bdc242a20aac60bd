#pragma once

#include "finder-extension/core/FinderSystemLog.h"

#include <string_view>

namespace quilla {

/// The extension's system log inside GNOME Files: GLib structured logging, which reaches the
/// journal with the domain "app.kelvarin.Quilla.FinderExtension" and the category as field
/// QUILLA_CATEGORY.
class NautilusSystemLog final : public FinderSystemLog {
public:
    void log(Level level, std::string_view category, std::string_view message) noexcept override;

    /// The same, for code that has no log object at hand (the module's entry points).
    static void write(Level level, std::string_view category, std::string_view message) noexcept;
};

} // namespace quilla
