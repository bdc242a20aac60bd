#include "tests/support/ChildProcess.h"

#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

namespace quilla::test {
namespace {

constexpr int kNoPrivateMount = 77;

/// Runs `body` in a child that reports its text through a pipe; gives the exit status and text.
std::pair<int, std::string> runReporting(const std::function<int(std::string&)>& body) {
    int fds[2];
    if (::pipe(fds) != 0) {
        return {-1, "pipe failed"};
    }
    const int status = inChildProcess([&] {
        ::close(fds[0]);
        std::string result;
        const int code = body(result);
        [[maybe_unused]] const auto written = ::write(fds[1], result.data(), result.size());
        return code;
    });
    ::close(fds[1]);
    std::string text;
    char buffer[512];
    for (ssize_t n; (n = ::read(fds[0], buffer, sizeof buffer)) > 0;) {
        text.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fds[0]);
    return {status, text};
}

} // namespace

int inChildProcess(const std::function<int()>& body) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        int code = 1;
        try {
            code = body();
        } catch (...) {
        }
        ::_exit(code);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string textFromChildProcess(const std::function<std::string()>& body) {
    const auto [status, text] = runReporting([&](std::string& result) {
        result = body();
        return 0;
    });
    return status == 0 ? text : "child failed with status " + std::to_string(status);
}

std::optional<std::string> inPrivateMount(const std::filesystem::path& mountPoint,
                                          const std::function<std::string()>& body,
                                          std::string_view options) {
    const std::string mountOptions(options);
    const auto [status, text] = runReporting([&](std::string& result) {
        if (::unshare(CLONE_NEWNS) != 0 ||
            ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount("tmpfs", mountPoint.c_str(), "tmpfs", 0, mountOptions.c_str()) != 0) {
            return kNoPrivateMount;
        }
        result = body();
        return 0;
    });
    if (status == kNoPrivateMount) {
        return std::nullopt;
    }
    return status == 0 ? text : "child failed with status " + std::to_string(status);
}

} // namespace quilla::test
