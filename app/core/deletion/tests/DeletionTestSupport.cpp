#include "app/core/deletion/tests/DeletionTestSupport.h"

#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

namespace quilla::test {

StoreFixture::StoreFixture(std::filesystem::path file) {
    ScheduledDeletionStore::Options options;
    options.file = std::move(file);
    options.now = [this] { return now; };
    options.log = [mutex = logMutex, out = lines](std::string_view line) {
        std::lock_guard lock(*mutex);
        out->emplace_back(line);
    };
    store = std::make_unique<ScheduledDeletionStore>(std::move(options));
}

std::vector<std::string> StoreFixture::logLines() const {
    std::lock_guard lock(*logMutex);
    return *lines;
}

ChangeCounter::ChangeCounter()
    : token_(ScheduledDeletionStore::observeChanges([count = count_] { ++*count; })) {}

ChangeCounter::~ChangeCounter() { ScheduledDeletionStore::stopObserving(token_); }

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

std::optional<std::string> inPrivateMount(const std::filesystem::path& mountPoint,
                                          const std::function<std::string()>& body) {
    int fds[2];
    if (::pipe(fds) != 0) {
        return "pipe failed";
    }
    const int status = inChildProcess([&] {
        ::close(fds[0]);
        if (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount("tmpfs", mountPoint.c_str(), "tmpfs", 0, "mode=0755") != 0) {
            return 77;
        }
        const auto result = body();
        [[maybe_unused]] const auto written = ::write(fds[1], result.data(), result.size());
        return 0;
    });
    ::close(fds[1]);
    std::string text;
    char buffer[512];
    for (ssize_t n; (n = ::read(fds[0], buffer, sizeof buffer)) > 0;) {
        text.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fds[0]);
    if (status == 77) {
        return std::nullopt;
    }
    return status == 0 ? text : "child failed with status " + std::to_string(status);
}

} // namespace quilla::test
