#include "app/core/runner/QuillaQueuedActionRunner.h"

#include "app/core/executor/FinderActionExecutionError.h"
#include "app/core/operations/copymove/FileTransfer.h"
#include "app/core/runner/LeftoverFiles.h"
#include "app/core/runner/QueuedActionDecoding.h"
#include "shared/DiagnosticLog.h"
#include "shared/FileIO.h"
#include "shared/LogText.h"
#include "shared/QuillaPaths.h"
#include "shared/catalog/FinderFeature.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <cstdint>
#include <fcntl.h>
#include <mutex>
#include <pthread.h>
#include <set>
#include <sys/file.h>
#include <sys/stat.h>
#include <system_error>
#include <thread>
#include <unistd.h>
#include <variant>

namespace quilla {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

/// Queue files are small; anything larger is not something the extension wrote.
constexpr std::size_t kMaxQueuedFileBytes = 1024 * 1024;
/// Marks a queued file that is already the second try of an interrupted action.
constexpr std::string_view kRepeatSuffix = ".retry";

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

/// A queue folder opened for one pass, never through a link. Files are claimed, read and removed
/// relative to it, so the folder checked is the folder used even if its path is swapped meanwhile.
class QueueFolder final {
public:
    /// Opens `path` when it is a private folder of this user; nothing (logged) otherwise. A missing
    /// folder is silently empty.
    static std::optional<QueueFolder> open(const fs::path& path) {
        const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0) {
            const int error = errno;
            struct stat info {};
            if (::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
                logNotPrivateOnce(path); // a link: whoever made it chooses where it points
            } else if (error != ENOENT) {
                log("queue drain skipped: " + path.string() + " error=" + systemErrorText(error));
            }
            return std::nullopt;
        }
        QueueFolder folder(path, fd);
        struct stat info {};
        if (::fstat(fd, &info) != 0 || !paths::isPrivateDirectoryStatus(info.st_mode, info.st_uid)) {
            logNotPrivateOnce(path);
            return std::nullopt;
        }
        return folder;
    }

    const fs::path& path() const { return path_; }
    int fd() const { return fd_->get(); }

    /// Every entry name (hidden ones too) without reading attributes.
    std::vector<std::string> names() const { return entryNames(fd()); }

private:
    QueueFolder(fs::path path, int fd)
        : path_(std::move(path)), fd_(std::make_shared<fileops::FileDescriptor>(fd)) {}

    fs::path path_;
    std::shared_ptr<fileops::FileDescriptor> fd_;
};

/// The bytes of a claimed file, or why they are unusable: `Invalid` for what can never be an
/// action (a link, an oversized file), `NotOwned` for a file another user made, the system error
/// of a failed read.
struct Invalid {};
struct NotOwned {
    unsigned owner;
};
using ClaimedContent = std::variant<std::string, Invalid, NotOwned, std::error_code>;

/// Reads the claimed file open as `fd`; `openError` is why it could not be opened (fd < 0).
ClaimedContent readClaimedFile(int fd, int openError) {
    if (fd < 0) {
        // O_NOFOLLOW: a link could point anywhere (a device, another user's file); never followed.
        return openError == ELOOP ? ClaimedContent(Invalid{})
                                  : ClaimedContent(std::error_code(openError, std::system_category()));
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        return std::error_code(errno, std::system_category());
    }
    if (!S_ISREG(info.st_mode)) {
        return std::error_code(S_ISDIR(info.st_mode) ? EISDIR : EINVAL, std::system_category());
    }
    // Only this user's own files are actions: anything else was planted by someone else.
    if (info.st_uid != ::geteuid()) {
        return NotOwned{info.st_uid};
    }
    if (static_cast<std::size_t>(info.st_size) > kMaxQueuedFileBytes) {
        return Invalid{};
    }
    errno = 0;
    auto bytes = readOpenFileCapped(fd, kMaxQueuedFileBytes);
    if (!bytes) {
        // It grew past the cap after fstat, or the read failed.
        return errno ? ClaimedContent(std::error_code(errno, std::system_category()))
                     : ClaimedContent(Invalid{});
    }
    return std::move(*bytes);
}

std::string optionalText(const std::optional<fs::path>& path) { return path ? path->string() : "nil"; }

/// "action=ID selected=[…] target=… destination=… presetID=…", as every line about one request shows it.
std::string requestText(const ActionRequest& request) {
    std::vector<std::string> selected;
    for (const auto& path : request.selectedPaths) {
        selected.push_back(path.string());
    }
    return "action=" + request.actionID + " selected=" + bracketedList(selected, kLoggedPathsAtMost) +
           " target=" + optionalText(request.targetedPath) +
           " destination=" + optionalText(request.destinationPath) +
           " presetID=" + request.presetID.value_or("nil");
}

/// Removes a queue entry: a file, or an empty folder queued by mistake.
void removeEntry(const QueueFolder& folder, const std::string& name) {
    if (::unlinkat(folder.fd(), name.c_str(), 0) != 0 && errno == EISDIR) {
        ::unlinkat(folder.fd(), name.c_str(), AT_REMOVEDIR);
    }
}

/// When the entry was claimed: the rename that claims a file changes its status time.
std::chrono::system_clock::time_point claimTime(const QueueFolder& folder, const std::string& name) {
    struct stat info {};
    if (::fstatat(folder.fd(), name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
        return std::chrono::system_clock::now();
    }
    return std::chrono::system_clock::from_time_t(info.st_ctime);
}

/// The folders an action may have written into: those of the selection, the target and the destination.
std::set<fs::path> foldersWorkedIn(const ActionRequest& request) {
    std::set<fs::path> folders;
    for (const auto& path : request.selectedPaths) {
        folders.insert(path.parent_path());
    }
    for (const auto& path : {request.targetedPath, request.destinationPath}) {
        if (path) {
            folders.insert(*path);
            folders.insert(path->parent_path());
        }
    }
    std::erase_if(folders, [](const fs::path& folder) { return !folder.is_absolute(); });
    return folders;
}

/// Removes what an interrupted action of this application left half-made since it was claimed.
void clearLeftovers(const std::optional<ActionRequest>& request,
                    std::chrono::system_clock::time_point since) {
    if (request) {
        for (const auto& folder : foldersWorkedIn(*request)) {
            LeftoverFiles::clearFolder(folder, since);
        }
    }
    LeftoverFiles::clearWorkFolders(since);
}

/// The claim: the queued file, open and locked (so a later start can tell a claim in progress from
/// one a killed process left), under its ".processing" name. Removed when handling ends, whatever
/// the outcome; the lock goes only after the name is gone.
class Claim final {
public:
    Claim(const QueueFolder& folder, std::string name, int fd)
        : folder_(folder), name_(std::move(name)), fd_(fd) {}
    ~Claim() {
        removeEntry(folder_, name_);
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    Claim(const Claim&) = delete;
    Claim& operator=(const Claim&) = delete;

    fs::path path() const { return folder_.path() / name_; }

private:
    const QueueFolder& folder_;
    std::string name_;
    int fd_;
};

/// Opens a queue entry without following a link and takes its lock without waiting. The
/// descriptor (-1 with `openError` when it cannot be opened), or nothing when another runner holds
/// the lock.
std::optional<int> openAndLock(const QueueFolder& folder, const std::string& name, int& openError) {
    const int fd =
        ::openat(folder.fd(), name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    openError = fd < 0 ? errno : 0;
    // Only a lock someone holds means "busy"; an entry that cannot be locked at all (a FIFO on
    // some file systems) is still claimed, and then refused for not being a regular file.
    if (fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
        ::close(fd);
        return std::nullopt;
    }
    return fd;
}

} // namespace

struct QuillaQueuedActionRunner::State {
    Perform perform;
    PostToMain postToMain;
    std::vector<fs::path> directories;

    std::mutex mutex;
    std::condition_variable wake; // a pass was requested, or the runner stops
    std::condition_variable idle; // a pass finished
    std::uint64_t requested = 0;
    std::uint64_t started = 0;
    std::uint64_t finished = 0;
    bool stopping = false;
    std::thread worker;

    std::mutex observerMutex;
    std::function<void(const std::string&)> failureObserver;

    std::mutex pollMutex;
    std::condition_variable pollWake;
    bool pollStopping = false;
    std::thread poller;

    void work();
    void poll(std::chrono::milliseconds interval, const std::function<void()>& drain);
    void drainPass();
    void handle(const QueueFolder& folder, const std::string& name);
    void recoverInterrupted(const QueueFolder& folder, const std::string& name);
    void failed(const fs::path& claimed, const std::string& description);
};

QuillaQueuedActionRunner::QuillaQueuedActionRunner(Perform perform, PostToMain postToMain,
                                                   std::vector<std::filesystem::path> queueDirectories)
    : state_(std::make_unique<State>()) {
    state_->perform = std::move(perform);
    state_->postToMain = std::move(postToMain);
    state_->directories = std::move(queueDirectories);
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

void QuillaQueuedActionRunner::setFailureObserver(std::function<void(const std::string&)> observer) {
    std::lock_guard lock(state_->observerMutex);
    state_->failureObserver = std::move(observer);
}

void QuillaQueuedActionRunner::waitUntilIdle() {
    std::unique_lock lock(state_->mutex);
    const std::uint64_t target = state_->requested;
    state_->idle.wait(lock, [&] { return state_->finished >= target || state_->stopping; });
}

void QuillaQueuedActionRunner::recoverInterruptedActions() {
    for (const auto& directory : state_->directories) {
        const auto folder = QueueFolder::open(directory);
        if (!folder) {
            continue;
        }
        auto names = folder->names();
        std::sort(names.begin(), names.end());
        for (const auto& name : names) {
            if (fs::path(name).extension() == ".processing") {
                state_->recoverInterrupted(*folder, name);
            }
        }
    }
}

bool QuillaQueuedActionRunner::isSafeToRepeat(std::string_view actionID) {
    // The typed-path and clipboard openers are left out: one asks again, the other reads a
    // clipboard that may hold something else by now.
    if (actionID == "quickOpenTypedPath" || actionID == "quickOpenClipboardPath") {
        return false;
    }
    const auto child = finderFeatureChild(actionID);
    if (!child) {
        return false;
    }
    using Kind = FinderFeatureAction::Kind;
    const Kind kind = child->action.kind();
    return kind == Kind::copyPath || kind == Kind::openFolder || kind == Kind::revealInFinder;
}

std::vector<std::filesystem::path> QuillaQueuedActionRunner::queueDirectoryURLs() {
    // The extension's folder is made here too, private, so that nobody else can make it first; it
    // stays in the list either way because each pass checks it again.
    const fs::path primary = paths::primaryQueueDir();
    paths::ensurePrivateDirectory(primary);
    std::vector<fs::path> directories{primary};
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
    // Every folder is checked each pass, the extension's own as strictly as the shared fallback:
    // whoever can write into a queue folder can make this user run anything.
    std::vector<std::pair<QueueFolder, std::vector<std::string>>> folders;
    std::size_t total = 0;
    for (const auto& directory : directories) {
        if (auto folder = QueueFolder::open(directory)) {
            auto names = folder->names();
            total += names.size();
            folders.emplace_back(std::move(*folder), std::move(names));
        }
    }
    if (total == 0) {
        return;
    }
    log("queue drain found " + std::to_string(total) + " files");
    // Sorted by name within each folder, folders in their fixed order: the extension's own queue
    // always comes before the fallback, wherever the two happen to live.
    for (auto& [folder, names] : folders) {
        std::erase_if(names, [](const std::string& name) { return fs::path(name).extension() != ".json"; });
        std::sort(names.begin(), names.end());
        for (const auto& name : names) {
            handle(folder, name);
        }
    }
}

void QuillaQueuedActionRunner::State::handle(const QueueFolder& folder, const std::string& name) {
    const fs::path file = folder.path() / name;
    const std::string claimedName = fs::path(name).replace_extension("processing").string();
    int openError = 0;
    const auto fd = openAndLock(folder, name, openError);
    if (!fd) {
        return; // another runner is claiming it this moment
    }
    if (*fd < 0 && openError == ENOENT) {
        log("queue claim skipped: " + file.string() + " error=" + systemErrorText(openError));
        return;
    }
    // The rename is the claim: whoever renames first owns the file, so it never runs twice.
    if (::renameat(folder.fd(), name.c_str(), folder.fd(), claimedName.c_str()) != 0) {
        log("queue claim skipped: " + file.string() + " error=" + systemErrorText(errno));
        if (*fd >= 0) {
            ::close(*fd);
        }
        return;
    }
    const Claim claim(folder, claimedName, *fd);
    const fs::path claimed = claim.path();

    auto content = readClaimedFile(*fd, openError);
    if (auto* error = std::get_if<std::error_code>(&content)) {
        failed(claimed, error->message());
        return;
    }
    if (auto* foreign = std::get_if<NotOwned>(&content)) {
        log("queued action refused: " + claimed.string() + " reason=owned by uid " +
            std::to_string(foreign->owner));
        return;
    }
    std::optional<ActionRequest> request;
    if (auto* bytes = std::get_if<std::string>(&content)) {
        try {
            request = decodeQueuedAction(*bytes);
        } catch (const std::exception& error) {
            failed(claimed, error.what());
            return;
        }
    }
    if (!request) {
        log("queued action invalid: " + claimed.string());
        return;
    }

    log("app delegate queued " + requestText(*request) + " file=" + claimed.string());
    try {
        (void)perform(*request);
        log("app delegate queued action succeeded: " + request->actionID);
    } catch (const std::exception& error) {
        failed(claimed, errorDescription(error));
    } catch (...) {
        failed(claimed, "unknown error");
    }
}

void QuillaQueuedActionRunner::State::recoverInterrupted(const QueueFolder& folder, const std::string& name) {
    int openError = 0;
    const auto fd = openAndLock(folder, name, openError);
    if (!fd || (*fd < 0 && openError == ENOENT)) {
        return; // being handled right now by a runner that is alive, or already gone
    }
    std::string stem = fs::path(name).stem().string();
    const bool repeatedOnce = stem.ends_with(kRepeatSuffix);
    std::optional<ActionRequest> request;
    const auto content = readClaimedFile(*fd, openError);
    if (const auto* bytes = std::get_if<std::string>(&content)) {
        try {
            request = decodeQueuedAction(*bytes);
        } catch (const std::exception&) {
        }
    }
    const fs::path claimed = folder.path() / name;
    const bool repeat = request && !repeatedOnce && isSafeToRepeat(request->actionID);
    log("queued action interrupted by an earlier exit: " +
        (request ? requestText(*request) : std::string("unreadable")) + " file=" + claimed.string() +
        (repeat ? " (queued again)" : " (not run again)"));
    clearLeftovers(request, claimTime(folder, name));
    // One more try at most: an action that itself ended the application must not do so at every start.
    const std::string requeued = stem + std::string(kRepeatSuffix) + ".json";
    if (!repeat || ::renameat(folder.fd(), name.c_str(), folder.fd(), requeued.c_str()) != 0) {
        removeEntry(folder, name);
    }
    if (*fd >= 0) {
        ::close(*fd);
    }
}

void QuillaQueuedActionRunner::State::failed(const fs::path& claimed, const std::string& description) {
    log("app delegate queued action failed: " + claimed.string() + " error=" + description);
    // Queued actions never show an alert; the main thread only records that one was suppressed.
    std::function<void(const std::string&)> observer;
    {
        std::lock_guard lock(observerMutex);
        observer = failureObserver;
    }
    auto onMain = [description, observer = std::move(observer)] {
        log("suppressed queued action error alert: " + description);
        if (observer) {
            observer(description);
        }
    };
    if (postToMain) {
        postToMain(std::move(onMain));
    } else {
        onMain();
    }
}

} // namespace quilla
