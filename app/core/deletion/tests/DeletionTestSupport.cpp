#include "app/core/deletion/tests/DeletionTestSupport.h"

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

} // namespace quilla::test
