#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace quilla {

/// What a finished (or stopped) child process left behind.
struct ProcessResult {
    int exitStatus = -1; ///< the exit code; -1 when it died from a signal
    std::string standardOutput;
    std::string standardError;
    bool timedOut = false;
};

/// Runs external programs directly (never through a shell). Both output pipes are drained while
/// the child runs, so a child writing megabytes never stalls; the time-out variant stops a child
/// that runs too long.
class CommandRunner final {
public:
    struct Options {
        std::optional<std::filesystem::path> currentDirectory;
        std::optional<std::chrono::milliseconds> timeout;
        bool captureStandardOutput = true; ///< else the child inherits ours
        std::optional<std::string> standardInput; ///< else /dev/null
    };

    /// Starts `executable` with `arguments` and waits. Throws std::system_error when it cannot be
    /// started (missing, not executable).
    static ProcessResult run(const std::filesystem::path& executable, const std::vector<std::string>& arguments,
                             const Options& options);

    /// Runs and fails with commandFailed(trimmed standard error, or the executable's name when
    /// that is not UTF-8) on a non-zero exit status.
    static void runProcess(const std::filesystem::path& executable, const std::vector<std::string>& arguments,
                           const std::optional<std::filesystem::path>& currentDirectory = std::nullopt);

    /// As runProcess, returning standard output (empty when it is not valid UTF-8).
    static std::string runProcessOutput(const std::filesystem::path& executable,
                                        const std::vector<std::string>& arguments);

    /// The failure message rule: trimmed standard error when it is UTF-8, else `fallback`.
    static std::string failureMessage(const std::string& standardError, const std::string& fallback);
};

/// Whether `text` is well-formed UTF-8.
bool isValidUTF8(const std::string& text);

/// `text` without leading and trailing white space and line breaks.
std::string trimmedWhitespace(const std::string& text);

} // namespace quilla
