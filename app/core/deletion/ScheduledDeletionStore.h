#pragma once

#include "app/core/deletion/ScheduledDeletionItem.h"

#include <chrono>
#include <filesystem>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quilla {

class SerialWorker;
class Trash;

/// The items waiting for the Trash, kept in ScheduledDeletions.plist in the application's
/// settings folder. Every read-change-write cycle (schedule, cancel, a processing run) holds an
/// advisory lock on "ScheduledDeletions.plist.lock" beside the file, so no cycle loses another's
/// change, in this process or another one; the file is always replaced atomically.
class ScheduledDeletionStore final {
public:
    using Clock = std::function<std::chrono::system_clock::time_point()>;
    using Log = std::function<void(std::string_view)>;

    struct Options {
        std::filesystem::path file = defaultFile();
        Clock now = [] { return std::chrono::system_clock::now(); };
        /// Receives the diagnostic lines; by default the application's diagnostic log.
        Log log = appendToApplicationLog;
    };

    /// The in-process change notification's name.
    static constexpr std::string_view changeNotificationName = "quillaScheduledDeletionsChanged";

    /// $XDG_CONFIG_HOME/quilla/ScheduledDeletions.plist, looked up afresh.
    static std::filesystem::path defaultFile();
    static void appendToApplicationLog(std::string_view message);

    ScheduledDeletionStore();
    explicit ScheduledDeletionStore(Options options);
    ~ScheduledDeletionStore();
    ScheduledDeletionStore(const ScheduledDeletionStore&) = delete;
    ScheduledDeletionStore& operator=(const ScheduledDeletionStore&) = delete;

    /// The file this store keeps its items in.
    const std::filesystem::path& file() const { return options_.file; }

    /// The stored items in file order; empty when the file is missing, unreadable or any entry is
    /// damaged. Has no side effects; the changing operations below keep a damaged file aside.
    std::vector<ScheduledDeletionItem> loadItems() const;

    /// Replaces the file atomically (creating its folder). Throws std::filesystem::filesystem_error,
    /// also when the file would grow past the settings-file size limit (nothing is written).
    void saveItems(const std::vector<ScheduledDeletionItem>& items) const;

    /// Every changing operation first reads the file; a present file that cannot be read is kept
    /// aside as NAME.bad-<UTC time> and logged, so the write that follows destroys nothing.

    /// Schedules every existing path that is not scheduled yet, due `interval` from now (a path
    /// that is not valid UTF-8 cannot be stored and is skipped with a log line). A link is
    /// scheduled as the link. Paths already scheduled keep their time. When nothing is new, nothing
    /// is written and no change is announced. Throws when the file cannot be written or locked.
    void schedule(const std::vector<std::filesystem::path>& paths, std::chrono::seconds interval) const;

    /// Drops every item with `itemID`, writes the file (even when nothing matched) and announces
    /// the change. Throws when the file cannot be written or locked.
    void cancel(const std::string& itemID) const;

    /// One processing run on the calling thread: due items are moved to the Trash (a link as the
    /// link) or dropped when their path is gone, failures stay for the next run; every outcome is
    /// logged; the kept items are written and the change announced. Throws when saving fails.
    void processDueItemsNow(Trash& trash) const;

    /// Queues one processing run on this store's own serial worker thread; a failed run is logged
    /// as "scheduled deletion failed: …". The future is ready when the run has finished.
    /// `trash` must outlive the run.
    std::future<void> processDueItems(Trash& trash);

    /// Writes one line to this store's diagnostic log.
    void log(std::string_view message) const;

    using ObserverToken = int;
    /// Registers `callback` for every announced change (after a successful write, by any store of
    /// this process). It runs on the writing thread; an observer tied to a GUI thread hops there.
    static ObserverToken observeChanges(std::function<void()> callback);
    static void stopObserving(ObserverToken token);

private:
    std::filesystem::path lockFile() const;
    std::optional<std::vector<ScheduledDeletionItem>> readItems() const;
    std::vector<ScheduledDeletionItem> loadItemsKeepingDamagedAside() const;
    static void announceChange();

    Options options_;
    std::once_flag workerOnce_;
    std::unique_ptr<SerialWorker> worker_;
};

} // namespace quilla
