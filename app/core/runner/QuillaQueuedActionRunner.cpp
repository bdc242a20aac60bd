#include "app/core/runner/QuillaQueuedActionRunner.h"

#include "app/core/executor/FinderActionExecutionError.h"
#include "app/core/runner/QueuedActionDecoding.h"
#include "shared/DiagnosticLog.h"
#include "shared/FileIO.h"
#include "shared/LogText.h"
#include "shared/QuillaPaths.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <cstdint>
#include <dirent.h>
#include <mutex>
#include <pthread.h>
#include <set>
#include <sys/stat.h>
#include <system_error>
#include <thread>
#include <variant>

namespace quilla {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

/// Queue files are small; anything larger is not something the extension wrote.
constexpr std::size_t kMaxQueuedFileBytes = 1024 * 1024;

void log(std::string_view message) { appendDiagnosticLog(paths::appActionLogPath(), message); }

std::string systemErrorText(int code) { return std::error_code(code, std::system_category()).message(); }

// A skipped directory is reported once per process, not once a second by the poll.
void logNotPrivateOnce(const fs::path& directory) {
    static std::mutex mutex;
    static std::set<std::string> reported;
    std::lock_guard lock(mutex);
    if (reported.insert(directory.string()).second) {
        log("queue directory skipped: " + directory.string() + " reason=not private");
    }
}

bool itemExists(const fs::path& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

/// Lists every entry (hidden ones too) without reading attributes; a missing folder is empty.
void listEntries(const fs::path& directory, std::vector<fs::path>& entries, std::size_t& total) {
    DIR* handle = ::opendir(directory.c_str());
    if (!handle) {
        if (errno != ENOENT) {
            log("queue drain skipped: " + directory.string() + " error=" + systemErrorText(errno));
        }
        return;
    }
    while (const dirent* entry = ::readdir(handle)) {
        const std::string_view name = entry->d_name;
        if (name == "." || name == "..") {
            continue;
        }
        ++total;
        entries.push_back(directory / name);
    }
    ::closedir(handle);
}

/// The bytes of a claimed file, or why they are unusable: `Invalid` for what can never be an
/// action (a link, an oversized file), the system error of a failed read.
struct Invalid {};
using ClaimedContent = std::variant<std::string, Invalid, std::error_code>;

ClaimedContent readClaimedFile(const fs::path& claimed) {
    struct stat info {};
    if (::lstat(claimed.c_str(), &info) != 0) {
        return std::error_code(errno, std::system_category());
    }
    // A link could point anywhere (a device, another user's file); it is never followed.
    if (S_ISLNK(info.st_mode) || (S_ISREG(info.st_mode) && static_cast<std::size_t>(info.st_size) > kMaxQueuedFileBytes)) {
        return Invalid{};
    }
    if (!S_ISREG(info.st_mode)) {
        return std::error_code(S_ISDIR(info.st_mode) ? EISDIR : EINVAL, std::system_category());
    }
    errno = 0;
    auto bytes = readFileCapped(claimed, kMaxQueuedFileBytes);
    if (!bytes) {
        // It grew past the cap after lstat, or the read failed.
        return errno ? ClaimedContent(std::error_code(errno, std::system_category())) : ClaimedContent(Invalid{});
    }
    return std::move(*bytes);
}

std::string optionalText(const std::optional<fs::path>& path) { return path ? path->string() : "nil"; }

std::string queuedActionLine(const ActionRequest& request, const fs::path& claimed) {
    std::vector<std::string> selected;
    for (const auto& path : request.selectedPaths) {
        selected.push_back(path.string());
    }
    return "app delegate queued action=" + request.actionID + " selected=" + bracketedList(selected) +
           " target=" + optionalText(request.targetedPath) + " destination=" + optionalText(request.destinationPath) +
           " presetID=" + request.presetID.value_or("nil") + " file=" + claimed.string();
}

/// Removes the claim file when handling ends, whatever the outcome.
class ClaimRemoval final {
public:
    explicit ClaimRemoval(fs::path claimed) : claimed_(std::move(claimed)) {}
    ~ClaimRemoval() {
        std::error_code ignored;
        fs::remove(claimed_, ignored);
    }
    ClaimRemoval(const ClaimRemoval&) = delete;
    ClaimRemoval& operator=(const ClaimRemoval&) = delete;

private:
    fs::path claimed_;
};

} // namespace

struct QuillaQueuedActionRunner::State {
    Perform perform;
    PostToMain postToMain;
    std::vector<fs::path> directories;
    /// Directories that must still be private each time they are listed (the shared fallback).
    std::set<fs::path> mustStayPrivate;

    std::mutex mutex;
    std::condition_variable wake; // a pass was requested, or the runner stops
    std::condition_variable idle; // a pass finished
    std::uint64_t requested = 0;
    std::uint64_t started = 0;
    std::uint64_t finished = 0;
    bool stopping = false;
    std::thread worker;

    std::mutex pollMutex;
    std::condition_variable pollWake;
    bool pollStopping = false;
    std::thread poller;

    void work();
    void poll(std::chrono::milliseconds interval, const std::function<void()>& drain);
    void drainPass();
    void handle(const fs::path& file);
    void failed(const fs::path& claimed, const std::string& description);
};

QuillaQueuedActionRunner::QuillaQueuedActionRunner(Perform perform, PostToMain postToMain,
                                                   std::vector<std::filesystem::path> queueDirectories)
    : state_(std::make_unique<State>()) {
    state_->perform = std::move(perform);
    state_->postToMain = std::move(postToMain);
    state_->directories = std::move(queueDirectories);
    const fs::path fallback = paths::fallbackQueueDir();
    if (std::find(state_->directories.begin(), state_->directories.end(), fallback) != state_->directories.end()) {
        state_->mustStayPrivate.insert(fallback);
    }
    state_->worker = std::thread([state = state_.get()] { state->work(); });
}

QuillaQueuedActionRunner::~QuillaQueuedActionRunner() {
    {
        std::lock_guard lock(state_->pollMutex);
        state_->pollStopping = true;
    }
    state_->pollWake.notify_all();
    if (state_->poller.joinable()) {
        state_->poller.join();
    }
    {
        std::lock_guard lock(state_->mutex);
        state_->stopping = true;
    }
    state_->wake.notify_all();
    state_->idle.notify_all();
    state_->worker.join();
}

void QuillaQueuedActionRunner::drain() {
    {
        std::lock_guard lock(state_->mutex);
        ++state_->requested;
    }
    state_->wake.notify_one();
}

void QuillaQueuedActionRunner::startPolling(std::chrono::milliseconds interval) {
    std::lock_guard lock(state_->pollMutex);
    if (state_->poller.joinable() || state_->pollStopping) {
        return;
    }
    state_->poller = std::thread([this, interval] { state_->poll(interval, [this] { drain(); }); });
}

void QuillaQueuedActionRunner::waitUntilIdle() {
    std::unique_lock lock(state_->mutex);
    const std::uint64_t target = state_->requested;
    state_->idle.wait(lock, [&] { return state_->finished >= target || state_->stopping; });
}

std::vector<std::filesystem::path> QuillaQueuedActionRunner::queueDirectoryURLs() {
    std::vector<fs::path> directories{paths::primaryQueueDir()};
    // The fallback lives in a shared place (/tmp without a runtime folder): someone else could
    // have made it first, so it is used only when it is ours alone. Creating it here means a
    // queue the extension starts later is still found.
    const fs::path fallback = paths::fallbackQueueDir();
    if (paths::ensurePrivateDirectory(fallback)) {
        directories.push_back(fallback);
    } else {
        logNotPrivateOnce(fallback);
    }
    return directories;
}

void QuillaQueuedActionRunner::State::work() {
    ::pthread_setname_np(::pthread_self(), "action-runner");
    std::unique_lock lock(mutex);
    for (;;) {
        wake.wait(lock, [&] { return stopping || started < requested; });
        if (stopping) {
            return;
        }
        ++started;
        lock.unlock();
        try {
            drainPass();
        } catch (...) {
            // Out of memory or a throwing main-thread hand-off: this pass ends, the runner lives on.
        }
        lock.lock();
        ++finished;
        idle.notify_all();
    }
}

void QuillaQueuedActionRunner::State::poll(std::chrono::milliseconds interval, const std::function<void()>& drain) {
    ::pthread_setname_np(::pthread_self(), "action-poll");
    auto next = std::chrono::steady_clock::now() + interval;
    std::unique_lock lock(pollMutex);
    while (!pollWake.wait_until(lock, next, [&] { return pollStopping; })) {
        drain(); // only schedules a pass; the worker does the listing
        next += interval;
        const auto now = std::chrono::steady_clock::now();
        if (next < now) {
            next = now + interval; // after a suspend, no burst of catch-up ticks
        }
    }
}

void QuillaQueuedActionRunner::State::drainPass() {
    std::vector<std::vector<fs::path>> entriesByDirectory;
    std::size_t total = 0;
    for (const auto& directory : directories) {
        if (mustStayPrivate.contains(directory) && !paths::isPrivateDirectory(directory)) {
            if (itemExists(directory)) {
                logNotPrivateOnce(directory);
            }
            continue;
        }
        listEntries(directory, entriesByDirectory.emplace_back(), total);
    }
    if (total == 0) {
        return;
    }
    log("queue drain found " + std::to_string(total) + " files");
    // Sorted by path within each folder, folders in their fixed order: the extension's own queue
    // always comes before the fallback, wherever the two happen to live.
    for (auto& entries : entriesByDirectory) {
        std::erase_if(entries, [](const fs::path& entry) { return entry.extension() != ".json"; });
        std::sort(entries.begin(), entries.end(),
                  [](const fs::path& a, const fs::path& b) { return a.native() < b.native(); });
        for (const auto& entry : entries) {
            handle(entry);
        }
    }
}

void QuillaQueuedActionRunner::State::handle(const fs::path& file) {
    fs::path claimed = file;
    claimed.replace_extension("processing");
    // The rename is the claim: whoever renames first owns the file, so it never runs twice.
    if (::rename(file.c_str(), claimed.c_str()) != 0) {
        log("queue claim skipped: " + file.string() + " error=" + systemErrorText(errno));
        return;
    }
    const ClaimRemoval removal(claimed);

    auto content = readClaimedFile(claimed);
    if (auto* error = std::get_if<std::error_code>(&content)) {
        failed(claimed, error->message());
        return;
    }
    std::optional<ActionRequest> request;
    if (auto* bytes = std::get_if<std::string>(&content)) {
        try {
            request = decodeQueuedAction(*bytes);
        } catch (const json::exception& error) {
            failed(claimed, error.what());
            return;
        }
    }
    if (!request) {
        log("queued action invalid: " + claimed.string());
        return;
    }

    log(queuedActionLine(*request, claimed));
    try {
        (void)perform(*request);
        log("app delegate queued action succeeded: " + request->actionID);
    } catch (const std::exception& error) {
        failed(claimed, errorDescription(error));
    } catch (...) {
        failed(claimed, "unknown error");
    }
}

void QuillaQueuedActionRunner::State::failed(const fs::path& claimed, const std::string& description) {
    log("app delegate queued action failed: " + claimed.string() + " error=" + description);
    // Queued actions never show an alert; the main thread only records that one was suppressed.
    auto line = "suppressed queued action error alert: " + description;
    if (postToMain) {
        postToMain([line = std::move(line)] { log(line); });
    } else {
        log(line);
    }
}

} // namespace quilla
