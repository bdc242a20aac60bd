#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

namespace quilla {

/// Where the parts of Quilla that are not on PATH live: the application itself and the modules
/// loaded on first use sit in `lib/quilla/` beside the `bin/` of the `quilla` front end, in the
/// build folder as once installed. The front end starts in a few milliseconds because it links
/// neither the GUI toolkit nor the image libraries; those come from here when they are needed.
class PrivateComponents final {
public:
    /// The running program's absolute path (/proc/self/exe), without " (deleted)".
    static std::optional<std::filesystem::path> runningExecutable();

    /// The component `name` ("quilla", "libquilla-pdf.so") for the program at `executable`:
    /// `lib/quilla/name` beside its `bin/`, or `name` beside the program itself when it already
    /// runs from `lib/quilla/`. Nothing when it does not exist, or when it or its folder belongs to
    /// another user (root aside) or is writable by group or others.
    static std::optional<std::filesystem::path> locate(std::string_view name,
                                                       const std::filesystem::path& executable);
    /// The same for the running program.
    static std::optional<std::filesystem::path> locate(std::string_view name);

    /// The command users start: `bin/quilla` for the application in `lib/quilla/quilla`, the
    /// program itself otherwise.
    static std::filesystem::path frontEnd(const std::filesystem::path& executable);
};

} // namespace quilla
