#include "app/core/deletion/ScheduledDeletionListStore.h"
#include "app/core/deletion/ScheduledDeletionRunner.h"
#include "app/core/deletion/ScheduledDeletionStore.h"
#include "app/core/deletion/tests/DeletionTestSupport.h"
#include "app/core/tests/fakes/FakePlatform.h"
#include "shared/Uuid.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestEnv.h"

#include <gtest/gtest.h>

#include <functional>
#include <thread>

using namespace quilla;
using namespace std::chrono_literals;
using quilla::test::ChangeCounter;
using quilla::test::StoreFixture;
using quilla::test::TempDir;
namespace fs = std::filesystem;

namespace {

std::vector<std::string> pathsOf(const std::vector<ScheduledDeletionItem>& items) {
    std::vector<std::string> out;
    for (const auto& item : items) {
        out.push_back(item.path);
    }
    return out;
}

} // namespace

TEST(ScheduledDeletionStore, SchedulesExistingNewPathsOnceAndKeepsEarlierTimes) {
    TempDir dir;
    StoreFixture f(dir / "ScheduledDeletions.plist");
    const auto a = dir.write("a.txt", "a");
    const auto b = dir.write("b.txt", "b");
    ChangeCounter changes;

    f.store->schedule({a, dir / "missing.txt", a}, 3600s);
    auto items = f.store->loadItems();
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].path, a.string());
    EXPECT_EQ(items[0].scheduledAt, f.now);
    EXPECT_EQ(items[0].deleteAt, f.now + 3600s);
    EXPECT_TRUE(isUUIDString(items[0].id));
    EXPECT_EQ(changes.count(), 1);

    f.advance(10s);
    f.store->schedule({b, a}, 7 * 86400s);
    items = f.store->loadItems();
    EXPECT_EQ(pathsOf(items), (std::vector<std::string>{a.string(), b.string()}));
    EXPECT_EQ(items[0].deleteAt, f.now - 10s + 3600s) << "an item already scheduled keeps its time";
    EXPECT_EQ(items[1].deleteAt, f.now + 7 * 86400s);
    EXPECT_EQ(changes.count(), 2);
}

TEST(ScheduledDeletionStore, NothingNewWritesNothingAndAnnouncesNothing) {
    TempDir dir;
    StoreFixture f(dir / "ScheduledDeletions.plist");
    ChangeCounter changes;
    f.store->schedule({dir / "missing"}, 3600s);
    f.store->schedule({}, 3600s);
    EXPECT_FALSE(fs::exists(dir / "ScheduledDeletions.plist"));

    const auto a = dir.write("a", "");
    f.store->schedule({a}, 3600s);
    const auto written = fs::last_write_time(dir / "ScheduledDeletions.plist");
    const auto bytes = quilla::test::readText(dir / "ScheduledDeletions.plist");
    std::this_thread::sleep_for(20ms);
    f.store->schedule({a}, 60s);
    EXPECT_EQ(fs::last_write_time(dir / "ScheduledDeletions.plist"), written);
    EXPECT_EQ(quilla::test::readText(dir / "ScheduledDeletions.plist"), bytes);
    EXPECT_EQ(changes.count(), 1);
}

TEST(ScheduledDeletionStore, DanglingLinkIsScheduledAsTheLink) {
    TempDir dir;
    StoreFixture f(dir / "s.plist");
    fs::create_symlink(dir / "nowhere", dir / "link");
    f.store->schedule({dir / "link"}, 60s);
    EXPECT_EQ(pathsOf(f.store->loadItems()), std::vector<std::string>{(dir / "link").string()});
}

TEST(ScheduledDeletionStore, FileHoldsPropertyListDatesAnIndependentReaderUnderstands) {
    TempDir dir;
    StoreFixture f(dir / "ScheduledDeletions.plist");
    f.now = std::chrono::system_clock::time_point(978307200s + 3600s); // 2001-01-01 01:00 UTC
    f.store->schedule({dir.write("x", "")}, 86400s);
    std::string out;
    ASSERT_EQ(
        quilla::test::runPython("import plistlib\n"
                                "d=plistlib.load(open('" +
                                    (dir / "ScheduledDeletions.plist").string() +
                                    "','rb'))\n"
                                    "print(len(d), sorted(d[0].keys()), d[0]['scheduledAt'].isoformat(), "
                                    "d[0]['deleteAt'].isoformat())",
                                &out),
        0)
        << out;
    EXPECT_EQ(out, "1 ['deleteAt', 'id', 'path', 'scheduledAt'] 2001-01-01T01:00:00 2001-01-02T01:00:00\n");
}

TEST(ScheduledDeletionStore, OneDamagedEntryMakesTheWholeFileReadAsEmpty) {
    TempDir dir;
    StoreFixture f(dir / "s.plist");
    f.store->schedule({dir.write("x", "")}, 60s);
    auto root = *plist::readFile(dir / "s.plist");
    auto array = *root.asArray();
    array.push_back(
        plist::Dict{{"id", "X"}, {"path", "/p"}, {"scheduledAt", "today"}, {"deleteAt", "later"}});
    dir.write("s.plist", plist::toXML(array));
    EXPECT_TRUE(f.store->loadItems().empty());
    dir.write("s.plist", "not a property list");
    EXPECT_TRUE(f.store->loadItems().empty());
}

TEST(ScheduledDeletionStore, EveryChangeKeepsADamagedFileAsideAndLogsIt) {
    const std::vector<std::pair<std::string, std::function<void(StoreFixture&, const TempDir&)>>> operations{
        {"schedule",
         [](StoreFixture& f, const TempDir& dir) { f.store->schedule({dir.write("new", "")}, 60s); }},
        {"cancel", [](StoreFixture& f, const TempDir&) { f.store->cancel("NO-SUCH-ID"); }},
        {"process",
         [](StoreFixture& f, const TempDir& dir) {
             quilla::test::FakeTrash trash(dir / "trash");
             f.store->processDueItemsNow(trash);
         }},
    };
    for (const auto& [name, operation] : operations) {
        TempDir dir;
        StoreFixture f(dir / "ScheduledDeletions.plist");
        f.store->schedule({dir.write("a", ""), dir.write("b", "")}, 3600s);
        const std::string whole = quilla::test::readText(dir / "ScheduledDeletions.plist");
        const std::string truncated = whole.substr(0, whole.size() - 20);
        dir.write("ScheduledDeletions.plist", truncated);

        operation(f, dir);
        std::vector<fs::path> kept;
        for (const auto& entry : fs::directory_iterator(dir.path())) {
            if (entry.path().filename().string().starts_with("ScheduledDeletions.plist.bad-")) {
                kept.push_back(entry.path());
            }
        }
        ASSERT_EQ(kept.size(), 1u) << name;
        EXPECT_EQ(quilla::test::readText(kept[0]), truncated) << name;
        ASSERT_FALSE(f.logLines().empty()) << name;
        EXPECT_EQ(f.logLines().front(), "scheduled deletions file damaged, kept aside as " + kept[0].string())
            << name;
        EXPECT_TRUE(plist::readFile(dir / "ScheduledDeletions.plist")) << name << ": rewritten whole";
    }
}

TEST(ScheduledDeletionStore, ADeletionFarAheadStaysFarAhead) {
    TempDir dir;
    StoreFixture f(dir / "s.plist");
    f.now = std::chrono::system_clock::time_point(4070908800s); // 2099-01-01 UTC
    const auto kept = dir.write("kept", "");
    f.store->schedule({kept}, 86400s);
    ASSERT_EQ(f.store->loadItems().size(), 1u);
    EXPECT_EQ(f.store->loadItems()[0].deleteAt, f.now + 86400s);

    f.now = std::chrono::system_clock::time_point(4070908800s - 86400s * 365);
    quilla::test::FakeTrash trash(dir / "trash");
    f.store->processDueItemsNow(trash);
    EXPECT_TRUE(fs::exists(kept)) << "not due for another year";
    EXPECT_EQ(f.store->loadItems().size(), 1u);
}

TEST(ScheduledDeletionStore, PathsTheFileCannotHoldAreNotScheduled) {
    TempDir dir;
    StoreFixture f(dir / "s.plist");
    const auto latin1 = dir.write("caf\xe9", "");
    const auto fine = dir.write("café", "");
    f.store->schedule({latin1, fine}, 60s);
    EXPECT_EQ(pathsOf(f.store->loadItems()), std::vector<std::string>{fine.string()});
    ASSERT_EQ(f.logLines().size(), 1u);
    EXPECT_TRUE(f.logLines()[0].starts_with("scheduled deletion skipped unstorable path="))
        << f.logLines()[0];
}

TEST(ScheduledDeletionStore, CancelDropsTheItemAndRewritesEvenForAnUnknownID) {
    TempDir dir;
    StoreFixture f(dir / "s.plist");
    f.store->schedule({dir.write("a", ""), dir.write("b", "")}, 60s);
    const auto items = f.store->loadItems();
    ChangeCounter changes;
    f.store->cancel(items[0].id);
    EXPECT_EQ(f.store->loadItems(), std::vector<ScheduledDeletionItem>{items[1]});
    fs::remove(dir / "s.plist");
    f.store->cancel("NO-SUCH-ID");
    EXPECT_TRUE(fs::exists(dir / "s.plist"));
    EXPECT_TRUE(f.store->loadItems().empty()) << "the file was gone, so it is rewritten empty";
    EXPECT_EQ(changes.count(), 2);
}

TEST(ScheduledDeletionStore, ProcessingTrashesDueItemsDropsMissingOnesAndKeepsFailures) {
    TempDir dir;
    StoreFixture f(dir / "s.plist");
    quilla::test::FakeTrash trash(dir / "trash");
    const auto due = dir.write("due.txt", "1");
    const auto gone = dir.write("gone.txt", "2");
    const auto later = dir.write("later.txt", "3");
    f.store->schedule({due, gone}, 3600s);
    f.store->schedule({later}, 7200s);
    fs::remove(gone);
    f.advance(3600s); // exactly due counts as due

    ChangeCounter changes;
    f.store->processDueItemsNow(trash);
    EXPECT_EQ(pathsOf(f.store->loadItems()), std::vector<std::string>{later.string()});
    EXPECT_TRUE(fs::exists(dir / "trash/due.txt"));
    EXPECT_EQ(f.logLines(), (std::vector<std::string>{
                                "scheduled deletion moved to trash path=" + due.string(),
                                "scheduled deletion skipped missing path=" + gone.string(),
                            }));
    EXPECT_EQ(changes.count(), 1);

    f.advance(3600s);
    trash.fails = true;
    f.store->processDueItemsNow(trash);
    EXPECT_EQ(pathsOf(f.store->loadItems()), std::vector<std::string>{later.string()})
        << "kept for the next run";
    EXPECT_EQ(f.logLines().back(),
              "scheduled deletion trash failed path=" + later.string() + " error=trash unavailable");
}

TEST(ScheduledDeletionStore, EveryRunRewritesAndAnnouncesEvenWhenNothingIsDue) {
    TempDir dir;
    StoreFixture f(dir / "s.plist");
    quilla::test::FakeTrash trash;
    ChangeCounter changes;
    f.store->processDueItems(trash).get();
    EXPECT_TRUE(fs::exists(dir / "s.plist"));
    EXPECT_EQ(changes.count(), 1);
    EXPECT_TRUE(f.logLines().empty());
}

TEST(ScheduledDeletionStore, AFailedRunIsLogged) {
    TempDir dir;
    const auto blocker = dir.write("blocker", "a file where the folder should be");
    StoreFixture f(blocker / "s.plist");
    quilla::test::FakeTrash trash;
    f.store->processDueItems(trash).get();
    ASSERT_EQ(f.logLines().size(), 1u);
    EXPECT_TRUE(f.logLines()[0].starts_with("scheduled deletion failed: ")) << f.logLines()[0];
    EXPECT_THROW(f.store->schedule({blocker}, 60s), std::exception);
}

TEST(ScheduledDeletionListStore, SortsByDueTimeKeepingFileOrderForTiesAndFollowsChanges) {
    TempDir dir;
    StoreFixture f(dir / "s.plist");
    f.store->schedule({dir.write("late", "")}, 7200s);
    f.store->schedule({dir.write("tie1", ""), dir.write("tie2", "")}, 3600s);
    f.store->schedule({dir.write("tie3", "")}, 3600s);

    ScheduledDeletionListStore list(*f.store);
    int reloads = 0;
    list.observe([&] { ++reloads; });
    EXPECT_EQ(pathsOf(list.items()),
              (std::vector<std::string>{(dir / "tie1").string(), (dir / "tie2").string(),
                                        (dir / "tie3").string(), (dir / "late").string()}));

    f.store->schedule({dir.write("soon", "")}, 60s);
    EXPECT_EQ(list.items().front().path, (dir / "soon").string());
    EXPECT_EQ(reloads, 1);

    list.cancel(list.items()[1]);
    EXPECT_EQ(list.items().size(), 4u);
    EXPECT_EQ(list.items()[1].path, (dir / "tie2").string());
}

TEST(ScheduledDeletionListStore, HandsAnnouncementsToItsOwnThreadAndLogsFailedCancels) {
    TempDir dir;
    StoreFixture f(dir / "s.plist");
    std::vector<std::function<void()>> posted;
    auto list = std::make_unique<ScheduledDeletionListStore>(
        *f.store, [&](std::function<void()> task) { posted.push_back(task); });
    f.store->schedule({dir.write("a", "")}, 60s);
    EXPECT_TRUE(list->items().empty()) << "nothing reloads until the owner thread runs the task";
    ASSERT_EQ(posted.size(), 1u);
    posted[0]();
    EXPECT_EQ(list->items().size(), 1u);
    list.reset();
    posted[0](); // a late task after the list is gone does nothing

    const auto blocker = dir.write("blocker", "");
    StoreFixture broken(blocker / "s.plist");
    ScheduledDeletionListStore brokenList(*broken.store);
    brokenList.cancel({"ID", "/x", {}, {}});
    ASSERT_EQ(broken.logLines().size(), 1u);
    EXPECT_TRUE(broken.logLines()[0].starts_with("scheduled deletion cancel failed: "));
}

TEST(ScheduledDeletionRunner, RunsAtOnceThenOnItsTimerAndStartsOnlyOnce) {
    TempDir dir;
    StoreFixture f(dir / "s.plist");
    quilla::test::FakeTrash trash;
    ChangeCounter changes;
    {
        ScheduledDeletionRunner runner(*f.store, trash, {.firstDelay = 1h, .interval = 1h});
        runner.start();
        runner.start();
        f.store->processDueItems(trash).get(); // the worker is serial: the start-up run is done
        EXPECT_EQ(changes.count(), 2);
    }
    ScheduledDeletionRunner quick(*f.store, trash, {.firstDelay = 20ms, .interval = 20ms});
    quick.start();
    for (int i = 0; i < 500 && changes.count() < 6; ++i) {
        std::this_thread::sleep_for(10ms);
    }
    EXPECT_GE(changes.count(), 6);
}

TEST(ScheduledDeletionRunner, AnItemDueBeforeStartIsTrashedByTheStartUpRun) {
    TempDir dir;
    StoreFixture f(dir / "s.plist");
    quilla::test::FakeTrash trash(dir / "trash");
    f.store->schedule({dir.write("old", "")}, 60s);
    f.advance(86400s);
    ScheduledDeletionRunner runner(*f.store, trash);
    runner.start();
    f.store->processDueItems(trash).get();
    EXPECT_TRUE(f.store->loadItems().empty());
    EXPECT_TRUE(fs::exists(dir / "trash/old"));
}
