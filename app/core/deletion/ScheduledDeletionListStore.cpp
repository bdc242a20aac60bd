#include "app/core/deletion/ScheduledDeletionListStore.h"

#include <algorithm>

namespace quilla {

ScheduledDeletionListStore::ScheduledDeletionListStore(const ScheduledDeletionStore& store, Poster postToOwnerThread)
    : store_(store), self_(std::make_shared<ScheduledDeletionListStore*>(this)) {
    reload();
    std::weak_ptr<ScheduledDeletionListStore*> weak = self_;
    auto reloadIfAlive = [weak] {
        if (const auto self = weak.lock()) {
            (*self)->reload();
        }
    };
    token_ = ScheduledDeletionStore::observeChanges([post = std::move(postToOwnerThread), reloadIfAlive] {
        if (post) {
            post(reloadIfAlive);
        } else {
            reloadIfAlive();
        }
    });
}

ScheduledDeletionListStore::~ScheduledDeletionListStore() { ScheduledDeletionStore::stopObserving(token_); }

void ScheduledDeletionListStore::reload() {
    auto items = store_.loadItems();
    std::stable_sort(items.begin(), items.end(),
                     [](const auto& a, const auto& b) { return a.deleteAt < b.deleteAt; });
    items_ = std::move(items);
    notifyChanged();
}

void ScheduledDeletionListStore::cancel(const ScheduledDeletionItem& item) {
    const auto id = item.id; // `item` may be an element of items_, which the reload replaces
    try {
        store_.cancel(id);
    } catch (const std::exception& error) {
        store_.log(std::string("scheduled deletion cancel failed: ") + error.what());
    }
    reload();
}

} // namespace quilla
