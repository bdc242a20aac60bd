#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace quilla::test {

/// Runs `body` in a forked child; gives the child's exit status (-1 when it did not exit).
int inChildProcess(const std::function<int()>& body);

/// Runs `body` in a forked child and gives the text it returned, or "child failed …" when the
/// child died (a crash or a hang stopped by the caller's own means fails the test cleanly).
std::string textFromChildProcess(const std::function<std::string()>& body);

/// Runs `body` in a child process with a private tmpfs (mount options `options`, e.g.
/// "size=1m") mounted at `mountPoint`; gives the text the body returned ("" = success), or
/// nothing when this machine does not allow private mounts.
std::optional<std::string> inPrivateMount(const std::filesystem::path& mountPoint,
                                          const std::function<std::string()>& body,
                                          std::string_view options = "mode=0755");

} // namespace quilla::test
