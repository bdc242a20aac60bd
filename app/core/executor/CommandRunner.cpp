#include "app/core/executor/CommandRunner.h"

#include "app/core/executor/FinderActionExecutionError.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <system_error>
#include <unistd.h>

extern char** environ;

namespace quilla {
namespace {

struct Pipe {
    int read = -1;
    int write = -1;
    Pipe() {
        int fds[2];
        if (::pipe2(fds, O_CLOEXEC) != 0) {
            throw std::system_error(errno, std::generic_category(), "pipe");
        }
        read = fds[0];
        write = fds[1];
    }
    ~Pipe() {
        closeRead();
        closeWrite();
    }
    void closeRead() {
        if (read >= 0) {
            ::close(read);
            read = -1;
        }
    }
    void closeWrite() {
        if (write >= 0) {
            ::close(write);
            write = -1;
        }
    }
};

class SpawnActions {
public:
    SpawnActions() { posix_spawn_file_actions_init(&actions_); }
    ~SpawnActions() { posix_spawn_file_actions_destroy(&actions_); }
    posix_spawn_file_actions_t* get() { return &actions_; }

private:
    posix_spawn_file_actions_t actions_;
};

std::vector<char*> argumentVector(const std::string& program, const std::vector<std::string>& arguments,
                                  std::vector<std::string>& storage) {
    storage.clear();
    storage.push_back(program);
    storage.insert(storage.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (auto& s : storage) {
        argv.push_back(s.data());
    }
    argv.push_back(nullptr);
    return argv;
}

int waitForExit(pid_t pid) {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Drains both pipes (and feeds standard input) until the child closes them or the deadline passes.
bool pump(Pipe* out, Pipe& err, Pipe* in, std::string input, ProcessResult& result,
          std::optional<std::chrono::steady_clock::time_point> deadline) {
    std::size_t inputOffset = 0;
    char buffer[65536];
    for (;;) {
        pollfd fds[3];
        int count = 0;
        if (out && out->read >= 0) fds[count++] = {out->read, POLLIN, 0};
        if (err.read >= 0) fds[count++] = {err.read, POLLIN, 0};
        if (in && in->write >= 0) fds[count++] = {in->write, POLLOUT, 0};
        if (count == 0) {
            return true;
        }
        int wait = -1;
        if (deadline) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(*deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0) {
                return false;
            }
            wait = static_cast<int>(std::min<long long>(left.count(), 1000));
        }
        const int ready = ::poll(fds, static_cast<nfds_t>(count), wait);
        if (ready < 0 && errno != EINTR) {
            return true;
        }
        for (int i = 0; i < count && ready > 0; ++i) {
            if (fds[i].revents == 0) continue;
            if (in && fds[i].fd == in->write) {
                const ssize_t n = ::write(in->write, input.data() + inputOffset, input.size() - inputOffset);
                if (n > 0) inputOffset += static_cast<std::size_t>(n);
                if (n < 0 || inputOffset >= input.size()) in->closeWrite();
                continue;
            }
            const ssize_t n = ::read(fds[i].fd, buffer, sizeof buffer);
            const bool isOut = out && fds[i].fd == out->read;
            if (n > 0) {
                (isOut ? result.standardOutput : result.standardError).append(buffer, static_cast<std::size_t>(n));
            } else if (n == 0 || (errno != EINTR && errno != EAGAIN)) {
                isOut ? out->closeRead() : err.closeRead();
            }
        }
    }
}

} // namespace

ProcessResult CommandRunner::run(const std::filesystem::path& executable, const std::vector<std::string>& arguments,
                                 const Options& options) {
    // A child that exits before reading its input must not kill us with SIGPIPE.
    static const bool ignoringSigpipe = [] {
        ::signal(SIGPIPE, SIG_IGN);
        return true;
    }();
    (void)ignoringSigpipe;
    Pipe err;
    std::optional<Pipe> out;
    std::optional<Pipe> in;
    if (options.captureStandardOutput) out.emplace();
    if (options.standardInput) in.emplace();

    SpawnActions actions;
    if (in) {
        posix_spawn_file_actions_adddup2(actions.get(), in->read, STDIN_FILENO);
    } else {
        posix_spawn_file_actions_addopen(actions.get(), STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    }
    if (out) posix_spawn_file_actions_adddup2(actions.get(), out->write, STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(actions.get(), err.write, STDERR_FILENO);
    if (options.currentDirectory) {
        posix_spawn_file_actions_addchdir_np(actions.get(), options.currentDirectory->c_str());
    }
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);

    std::vector<std::string> storage;
    auto argv = argumentVector(executable.string(), arguments, storage);
    pid_t pid = 0;
    const int spawnError = ::posix_spawn(&pid, executable.c_str(), actions.get(), &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    if (spawnError != 0) {
        throw std::system_error(spawnError, std::generic_category(), executable.string());
    }
    err.closeWrite();
    if (out) out->closeWrite();
    if (in) in->closeRead();

    ProcessResult result;
    std::optional<std::chrono::steady_clock::time_point> deadline;
    if (options.timeout) deadline = std::chrono::steady_clock::now() + *options.timeout;
    if (!pump(out ? &*out : nullptr, err, in ? &*in : nullptr, options.standardInput.value_or(""), result, deadline)) {
        // Stop the whole process group, so grandchildren holding the pipes go too.
        ::kill(-pid, SIGTERM);
        ::kill(pid, SIGKILL);
        ::kill(-pid, SIGKILL);
        result.timedOut = true;
    }
    result.exitStatus = waitForExit(pid);
    return result;
}

void CommandRunner::runProcess(const std::filesystem::path& executable, const std::vector<std::string>& arguments,
                               const std::optional<std::filesystem::path>& currentDirectory) {
    Options options;
    options.currentDirectory = currentDirectory;
    options.captureStandardOutput = false;
    const auto result = run(executable, arguments, options);
    if (result.exitStatus != 0) {
        throw FinderActionExecutionError::commandFailed(
            failureMessage(result.standardError, executable.filename().string()));
    }
}

std::string CommandRunner::runProcessOutput(const std::filesystem::path& executable,
                                            const std::vector<std::string>& arguments) {
    const auto result = run(executable, arguments, Options{});
    if (result.exitStatus != 0) {
        throw FinderActionExecutionError::commandFailed(
            failureMessage(result.standardError, executable.filename().string()));
    }
    return isValidUTF8(result.standardOutput) ? result.standardOutput : std::string();
}

std::string CommandRunner::failureMessage(const std::string& standardError, const std::string& fallback) {
    return isValidUTF8(standardError) ? trimmedWhitespace(standardError) : fallback;
}

bool isValidUTF8(const std::string& text) {
    std::size_t i = 0;
    const auto* s = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t n = text.size();
    while (i < n) {
        const unsigned char c = s[i];
        std::size_t length = 0;
        std::uint32_t codePoint = 0;
        if (c < 0x80) { ++i; continue; }
        if ((c & 0xE0) == 0xC0) { length = 2; codePoint = c & 0x1F; }
        else if ((c & 0xF0) == 0xE0) { length = 3; codePoint = c & 0x0F; }
        else if ((c & 0xF8) == 0xF0) { length = 4; codePoint = c & 0x07; }
        else return false;
        if (i + length > n) return false;
        for (std::size_t k = 1; k < length; ++k) {
            if ((s[i + k] & 0xC0) != 0x80) return false;
            codePoint = (codePoint << 6) | (s[i + k] & 0x3F);
        }
        const bool overlong = (length == 2 && codePoint < 0x80) || (length == 3 && codePoint < 0x800) ||
                              (length == 4 && codePoint < 0x10000);
        if (overlong || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF)) return false;
        i += length;
    }
    return true;
}

std::string trimmedWhitespace(const std::string& text) {
    const char* spaces = " \t\n\r\f\v";
    const auto first = text.find_first_not_of(spaces);
    if (first == std::string::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(spaces);
    return text.substr(first, last - first + 1);
}

} // namespace quilla
