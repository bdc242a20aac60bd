#pragma once

#include "app/core/Observable.h"
#include "app/core/deletion/ScheduledDeletionItem.h"
#include "app/core/deletion/ScheduledDeletionStore.h"

#include <functional>
#include <memory>
#include <vector>

namespace quilla {

/// The pending items as the settings window lists them: sorted by due time, earliest first, items
/// due at the same time in file order. Reloads whenever the store announces a change; observers
/// (Observable) hear about every reload. Confined to the thread that owns it (the GUI thread).
class ScheduledDeletionListStore final : public Observable {
public:
    /// Runs a task on the owning thread later; the default runs it at once on the calling thread.
    using Poster = std::function<void(std::function<void()>)>;

    /// Loads the items; store announcements are handed to `postToOwnerThread` before reloading.
    /// `store` must outlive this list.
    explicit ScheduledDeletionListStore(const ScheduledDeletionStore& store, Poster postToOwnerThread = {});
    ~ScheduledDeletionListStore();
    ScheduledDeletionListStore(const ScheduledDeletionListStore&) = delete;
    ScheduledDeletionListStore& operator=(const ScheduledDeletionListStore&) = delete;

    const std::vector<ScheduledDeletionItem>& items() const { return items_; }

    /// Cancels the item; a failure is logged as "scheduled deletion cancel failed: …". Reloads in
    /// either case.
    void cancel(const ScheduledDeletionItem& item);

    /// The file the items come from (to watch it for changes made by other processes).
    const std::filesystem::path& file() const { return store_.file(); }

    /// Reads the file again and re-sorts.
    void reload();

private:
    const ScheduledDeletionStore& store_;
    std::vector<ScheduledDeletionItem> items_;
    // Announcements arrive on other threads; they reach this object only while it is alive.
    std::shared_ptr<ScheduledDeletionListStore*> self_;
    ScheduledDeletionStore::ObserverToken token_;
};

} // namespace quilla
