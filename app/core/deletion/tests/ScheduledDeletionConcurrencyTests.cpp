#include "app/core/deletion/ScheduledDeletionStore.h"
#include "app/core/deletion/tests/DeletionTestSupport.h"
#include "app/core/tests/fakes/FakePlatform.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <set>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace quilla;
using namespace std::chrono_literals;
using quilla::test::StoreFixture;
using quilla::test::TempDir;
namespace fs = std::filesystem;

namespace {

constexpr int kItemsPerWriter = 25;

// Schedules kItemsPerWriter files, one call each.
void scheduleMany(const ScheduledDeletionStore& store, const TempDir& dir, const std::string& tag) {
    for (int i = 0; i < kItemsPerWriter; ++i) {
        store.schedule({dir.write(tag + std::to_string(i), "")}, 3600s);
    }
}

std::set<std::string> storedPaths(const ScheduledDeletionStore& store) {
    std::set<std::string> paths;
    for (const auto& item : store.loadItems()) {
        paths.insert(item.path);
    }
    return paths;
}

} // namespace

// A processing run reads, trashes and rewrites the whole file; if a schedule or a cancel slipped
// in between its read and its write, that change would be lost (or a cancelled item come back).
TEST(ScheduledDeletionConcurrency, ThreadsSchedulingCancellingAndProcessingLoseNothing) {
    TempDir dir;
    StoreFixture f(dir / "s.plist");
    quilla::test::FakeTrash trash(dir / "trash");
    const auto due = dir.write("due", "");
    f.store->schedule({due}, 0s);

    std::atomic<bool> done = false;
    std::thread processor([&] {
        while (!done) {
            f.store->processDueItemsNow(trash);
        }
    });
    std::thread canceller([&] {
        for (int i = 0; i < kItemsPerWriter; ++i) {
            const auto path = dir.write("c" + std::to_string(i), "");
            f.store->schedule({path}, 3600s);
            for (const auto& item : f.store->loadItems()) {
                if (item.path == path.string()) {
                    f.store->cancel(item.id);
                }
            }
        }
    });
    scheduleMany(*f.store, dir, "a");
    scheduleMany(*f.store, dir, "b");
    canceller.join();
    done = true;
    processor.join();

    const auto paths = storedPaths(*f.store);
    EXPECT_EQ(paths.size(), 2u * kItemsPerWriter) << "every a/b item kept, every cancelled c item gone";
    EXPECT_FALSE(paths.contains(due.string()));
    EXPECT_TRUE(fs::exists(dir / "trash/due"));
}

TEST(ScheduledDeletionConcurrency, TwoProcessesSchedulingWhileAThirdProcessesLoseNothing) {
    TempDir dir;
    StoreFixture f(dir / "s.plist");
    std::vector<pid_t> children;
    for (int writer = 0; writer < 2; ++writer) {
        const pid_t pid = ::fork();
        if (pid == 0) {
            // Another process: only the lock file keeps it apart from the others.
            StoreFixture own(dir / "s.plist");
            scheduleMany(*own.store, dir, "p" + std::to_string(writer) + "-");
            ::_exit(0);
        }
        children.push_back(pid);
    }
    quilla::test::FakeTrash trash(dir / "trash");
    for (int i = 0; i < 100; ++i) {
        f.store->processDueItemsNow(trash);
    }
    for (const pid_t pid : children) {
        int status = 0;
        ::waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    EXPECT_EQ(storedPaths(*f.store).size(), 2u * kItemsPerWriter);
}
