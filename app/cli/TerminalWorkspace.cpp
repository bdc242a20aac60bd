#include "app/cli/TerminalWorkspace.h"

#include "app/core/executor/CommandRunner.h"
#include "app/core/operations/paths/ExecutableSearch.h"
#include "app/core/operations/paths/FileURL.h"
#include "shared/L10n.h"

#include <fcntl.h>
#include <cerrno>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace quilla {
namespace {

namespace fs = std::filesystem;

constexpr auto kToolTimeout = std::chrono::seconds(10);

bool fail(std::string* error, const std::string& message) {
    if (error) *error = message;
    return false;
}

/// Runs a helper tool that returns once it has handed the request on.
bool runTool(std::string_view name, const std::vector<std::string>& arguments, std::string* error) {
    const auto program = ExecutableSearch::find(name);
    if (!program) {
        return fail(error, L10n::format<"没有安装程序：%@">(name));
    }
    try {
        CommandRunner::Options options;
        options.timeout = kToolTimeout;
        const auto result = CommandRunner::run(*program, arguments, options);
        if (result.exitStatus != 0 || result.timedOut) {
            return fail(error, CommandRunner::failureMessage(result.standardError, std::string(name)));
        }
        return true;
    } catch (const std::exception& e) {
        return fail(error, e.what());
    }
}

// GVariant text for an array of strings: single-quoted, with quotes and backslashes escaped.
std::string variantStringArray(const std::vector<fs::path>& items) {
    std::string text = "[";
    for (const auto& item : items) {
        if (text.size() > 1) text += ", ";
        text += '\'';
        for (const char c : FileURL::string(item)) {
            if (c == '\'' || c == '\\') text += '\\';
            text += c;
        }
        text += '\'';
    }
    return text + "]";
}

/// Starts `program` in `directory` as a session of its own and does not wait for it: the
/// intermediate child exits at once, so nothing is left for us to reap.
bool startDetached(const fs::path& program, const fs::path& directory, std::string* error) {
    const std::string programText = program.string();
    const std::string directoryText = directory.string();
    char* const argv[] = {const_cast<char*>(programText.c_str()), nullptr};
    const pid_t child = ::fork();
    if (child < 0) {
        return fail(error, L10n::format<"无法启动程序：%@">(programText));
    }
    if (child == 0) {
        // Only async-signal-safe calls between fork and exec.
        ::setsid();
        if (::fork() != 0) {
            ::_exit(0);
        }
        const int null = ::open("/dev/null", O_RDWR);
        if (null >= 0) {
            ::dup2(null, STDIN_FILENO);
            ::dup2(null, STDOUT_FILENO);
            ::dup2(null, STDERR_FILENO);
        }
        if (::chdir(directoryText.c_str()) == 0) {
            ::execve(programText.c_str(), argv, environ);
        }
        ::_exit(127);
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return true;
}

std::vector<std::string> pathWords(const std::vector<fs::path>& items) {
    std::vector<std::string> words;
    for (const auto& item : items) words.push_back(item.string());
    return words;
}

} // namespace

void TerminalWorkspace::print(const std::string& verb, const std::vector<std::string>& words) {
    std::string line = verb;
    for (const auto& word : words) line += " " + word;
    log_ << line << '\n' << std::flush;
}

bool TerminalWorkspace::openTarget(const std::string& target, std::string* error) {
    if (ExecutableSearch::find("gio")) {
        return runTool("gio", {"open", target}, error);
    }
    return runTool("xdg-open", {target}, error);
}

bool TerminalWorkspace::open(const fs::path& path, std::string* error) {
    if (printOnly_) {
        print("open", {path.string()});
        return true;
    }
    return openTarget(path.string(), error);
}

bool TerminalWorkspace::revealItems(const std::vector<fs::path>& items, std::string* error) {
    if (printOnly_) {
        print("reveal", pathWords(items));
        return true;
    }
    if (items.empty()) {
        return true;
    }
    if (runTool("gdbus", {"call", "--session", "--dest", "org.freedesktop.FileManager1", "--object-path",
                          "/org/freedesktop/FileManager1", "--method", "org.freedesktop.FileManager1.ShowItems",
                          variantStringArray(items), ""},
                nullptr)) {
        return true;
    }
    // No file manager on the bus: at least show the folder of the first item.
    return openTarget(items.front().parent_path().string(), error);
}

bool TerminalWorkspace::openWithApplication(const fs::path& desktopEntry, const std::vector<fs::path>& items,
                                            std::string* error) {
    if (printOnly_) {
        auto words = pathWords(items);
        words.insert(words.begin(), desktopEntry.string());
        print("launch", words);
        return true;
    }
    auto arguments = pathWords(items);
    arguments.insert(arguments.begin(), {"launch", desktopEntry.string()});
    return runTool("gio", arguments, error);
}

bool TerminalWorkspace::openURL(const std::string& url, std::string* error) {
    if (printOnly_) {
        print("open", {url});
        return true;
    }
    return openTarget(url, error);
}

bool TerminalWorkspace::openTerminal(const fs::path& directory, std::string* error) {
    if (printOnly_) {
        print("terminal", {directory.string()});
        return true;
    }
    for (const char* name : {"x-terminal-emulator", "gnome-terminal", "kgx", "konsole", "xterm"}) {
        if (const auto program = ExecutableSearch::find(name)) {
            return startDetached(*program, directory, error);
        }
    }
    return fail(error, L10n::text<"没有找到可用的终端应用。">());
}

} // namespace quilla
