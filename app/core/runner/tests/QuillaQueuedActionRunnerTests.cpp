#include "app/core/executor/FinderActionExecutionError.h"
#include "app/core/runner/LeftoverFiles.h"
#include "app/core/runner/QuillaQueuedActionRunner.h"
#include "shared/QuillaPaths.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestEnv.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <atomic>
#include <condition_variable>
#include <fcntl.h>
#include <fstream>
#include <mutex>
#include <set>
#include <sstream>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>

using namespace quilla;
namespace fs = std::filesystem;
using test::TempDir;

namespace {

/// Log lines of this test's home, without their "[date] " prefix.
std::vector<std::string> logLines() {
    std::ifstream in(paths::appActionLogPath());
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        const auto end = line.find("] ");
        lines.push_back(end == std::string::npos ? line : line.substr(end + 2));
    }
    return lines;
}

std::size_t countLinesStartingWith(const std::string& prefix) {
    std::size_t count = 0;
    for (const auto& line : logLines()) {
        count += line.starts_with(prefix);
    }
    return count;
}

/// Records every request it is handed; thread-safe.
struct Recorder {
    std::mutex mutex;
    std::vector<ActionRequest> requests;
    std::function<void(const ActionRequest&)> behaviour;

    QuillaQueuedActionRunner::Perform perform() {
        return [this](const ActionRequest& request) {
            {
                std::lock_guard lock(mutex);
                requests.push_back(request);
            }
            if (behaviour)
                behaviour(request);
            return ActionResult{};
        };
    }
    std::vector<std::string> actionIDs() {
        std::lock_guard lock(mutex);
        std::vector<std::string> ids;
        for (const auto& r : requests)
            ids.push_back(r.actionID);
        return ids;
    }
};

/// A stand-in for the main thread: closures wait until the test runs them.
struct MainQueue {
    std::mutex mutex;
    std::vector<std::function<void()>> pending;

    QuillaQueuedActionRunner::PostToMain post() {
        return [this](std::function<void()> work) {
            std::lock_guard lock(mutex);
            pending.push_back(std::move(work));
        };
    }
    void run() {
        std::vector<std::function<void()>> work;
        {
            std::lock_guard lock(mutex);
            work.swap(pending);
        }
        for (auto& w : work)
            w();
    }
};

std::string action(const std::string& id) {
    return R"({"actionID":")" + id + R"(","selectedPaths":[]})";
}

void drainOnce(QuillaQueuedActionRunner& runner) {
    runner.drain();
    runner.waitUntilIdle();
}

} // namespace

TEST(QueuedActionRunner, HandlesEachFolderInPathOrderPrimaryFirst) {
    test::ScopedHome home;
    TempDir root;
    // The fallback's path sorts before the primary's; the primary still goes first.
    const auto primary = root / "z-primary";
    const auto fallback = root / "a-fallback";
    root.write("z-primary/b.json", action("b"));
    root.write("z-primary/a.json", action("a"));
    root.write("z-primary/notes.txt", "not an action");
    root.write("a-fallback/c.json", action("c"));
    Recorder recorder;
    MainQueue main;
    QuillaQueuedActionRunner runner(recorder.perform(), main.post(), {primary, fallback});
    drainOnce(runner);

    EXPECT_EQ(recorder.actionIDs(), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(logLines().front(), "queue drain found 4 files");
    EXPECT_TRUE(fs::exists(primary / "notes.txt")); // counted, never handled or removed
    EXPECT_FALSE(fs::exists(primary / "a.json"));
    EXPECT_FALSE(fs::exists(primary / "a.processing"));
    EXPECT_TRUE(fs::is_empty(fallback));
}

TEST(QueuedActionRunner, DecodesTheActionAndLogsEveryStep) {
    test::ScopedHome home;
    TempDir queue;
    queue.write(
        "1.json",
        R"({"actionID":"copyFullPath","title":"复制完整路径","selectedPaths":["/tmp/a b","/tmp/\"q\""],
        "targetedPath":"","destinationPath":"/dest","presetID":"p1","createdAt":1.5,"extra":{"x":1}})");
    queue.write("2.json", R"({"actionID":"moveFilesToFolder","selectedPaths":["/a",7],"targetedPath":"/t",
        "destinationPath":"","presetID":3})");
    Recorder recorder;
    recorder.behaviour = [](const ActionRequest& request) {
        if (request.actionID == "moveFilesToFolder")
            throw FinderActionExecutionError::noSelection();
    };
    MainQueue main;
    QuillaQueuedActionRunner runner(recorder.perform(), main.post(), {queue.path()});
    drainOnce(runner);

    ASSERT_EQ(recorder.requests.size(), 2u);
    const auto& first = recorder.requests[0];
    EXPECT_EQ(first.selectedPaths, (std::vector<fs::path>{"/tmp/a b", "/tmp/\"q\""}));
    EXPECT_EQ(first.targetedPath, std::nullopt);
    EXPECT_EQ(first.destinationPath, fs::path("/dest"));
    EXPECT_EQ(first.presetID, "p1");
    const auto& second = recorder.requests[1];
    EXPECT_TRUE(second.selectedPaths.empty()); // one element of another type empties the list
    EXPECT_EQ(second.targetedPath, fs::path("/t"));
    EXPECT_EQ(second.destinationPath, std::nullopt);
    EXPECT_EQ(second.presetID, std::nullopt);

    const auto claim1 = (queue / "1.processing").string();
    const auto claim2 = (queue / "2.processing").string();
    const std::vector<std::string> expected{
        "queue drain found 2 files",
        R"(app delegate queued action=copyFullPath selected=["/tmp/a b", "/tmp/\"q\""] target=nil destination=/dest presetID=p1 file=)" +
            claim1,
        "app delegate queued action succeeded: copyFullPath",
        R"(app delegate queued action=moveFilesToFolder selected=[] target=/t destination=nil presetID=nil file=)" +
            claim2,
        "app delegate queued action failed: " + claim2 + " error=请先在 Finder 中选择文件。",
    };
    EXPECT_EQ(logLines(), expected);

    // The suppressed-alert line is written by the main thread, after the claim file is gone.
    EXPECT_FALSE(fs::exists(claim2));
    main.run();
    EXPECT_EQ(logLines().back(), "suppressed queued action error alert: 请先在 Finder 中选择文件。");
    EXPECT_TRUE(fs::is_empty(queue.path()));
}

TEST(QueuedActionRunner, EveryFailureReachesTheObserverOnTheMainThreadOnly) {
    test::ScopedHome home;
    TempDir queue;
    queue.write("1.json", action("fails"));
    queue.write("2.json", action("works"));
    queue.write("3.json", action("fails"));
    queue.write("4.json", "{not json");
    Recorder recorder;
    recorder.behaviour = [](const ActionRequest& request) {
        if (request.actionID == "fails")
            throw FinderActionExecutionError::noSelection();
    };
    MainQueue main;
    QuillaQueuedActionRunner runner(recorder.perform(), main.post(), {queue.path()});
    std::vector<std::string> seen;
    runner.setFailureObserver([&](const std::string& text) { seen.push_back(text); });
    drainOnce(runner);

    EXPECT_TRUE(seen.empty()); // nothing reaches the observer off the main thread
    main.run();
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0], "请先在 Finder 中选择文件。");
    EXPECT_EQ(seen[1], "请先在 Finder 中选择文件。");
    EXPECT_NE(seen[2].find("parse"), std::string::npos) << seen[2]; // damaged JSON is a failure too
}

TEST(QueuedActionRunner, InvalidFilesAreLoggedRemovedAndNeverRun) {
    test::ScopedHome home;
    TempDir queue;
    TempDir elsewhere;
    const auto target = elsewhere.write("real.json", action("linked"));
    struct Case {
        std::string name;
        std::string content;
        std::string expectedPrefix; // of the line after the claim
    };
    const std::string invalid = "queued action invalid: ";
    const std::string failed = "app delegate queued action failed: ";
    const std::vector<Case> cases{
        {"empty", "", failed},
        {"garbage", "not json {", failed},
        {"array", "[1,2]", invalid},
        {"object", "{}", invalid},
        {"number-id", R"({"actionID":5})", invalid},
        {"huge", R"({"actionID":"x","pad":")" + std::string(1024 * 1024, 'a') + "\"}", invalid},
        {"deep", std::string(1024 * 1024 - 1, '['), invalid},
        {"deep-object", R"({"actionID":"x","a":)" + std::string(40, '[') + std::string(40, ']') + "}",
         invalid},
        {"bad-utf8", "{\"actionID\":\"\xff\xfe\"}", failed},
    };
    for (const auto& c : cases) {
        queue.write(c.name + ".json", c.content);
    }
    fs::create_symlink(target, queue / "link.json");
    fs::create_directory(queue / "folder.json");
    ASSERT_EQ(::mkfifo((queue / "fifo.json").c_str(), 0600), 0); // must not block the runner

    Recorder recorder;
    MainQueue main;
    QuillaQueuedActionRunner runner(recorder.perform(), main.post(), {queue.path()});
    drainOnce(runner);

    EXPECT_TRUE(recorder.requests.empty());
    EXPECT_TRUE(fs::is_empty(queue.path())) << "claim files must be removed";
    EXPECT_EQ(test::readText(target), action("linked")) << "a link's target is never touched";
    const auto lines = logLines();
    auto lineFor = [&](const std::string& name) {
        const auto claim = (queue / (name + ".processing")).string();
        for (const auto& line : lines) {
            if (line.find(claim) != std::string::npos)
                return line;
        }
        return std::string("no line for " + name);
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(lineFor(c.name).starts_with(c.expectedPrefix)) << c.name << ": " << lineFor(c.name);
    }
    EXPECT_EQ(lineFor("link"), invalid + (queue / "link.processing").string());
    EXPECT_EQ(lineFor("folder"), failed + (queue / "folder.processing").string() + " error=Is a directory");
    EXPECT_EQ(lineFor("fifo"), failed + (queue / "fifo.processing").string() + " error=Invalid argument");
}

TEST(QueuedActionRunner, ClaimFilesAreCountedButNeverPickedUp) {
    test::ScopedHome home;
    TempDir queue;
    queue.write("left-by-a-crash.processing", action("x"));
    Recorder recorder;
    MainQueue main;
    QuillaQueuedActionRunner runner(recorder.perform(), main.post(), {queue.path()});
    drainOnce(runner);
    EXPECT_TRUE(recorder.requests.empty());
    EXPECT_EQ(logLines(), std::vector<std::string>{"queue drain found 1 files"});
    EXPECT_TRUE(fs::exists(queue / "left-by-a-crash.processing"));
}

TEST(QueuedActionRunner, IdlePassesWriteNothing) {
    test::ScopedHome home;
    TempDir queue;
    Recorder recorder;
    MainQueue main;
    QuillaQueuedActionRunner runner(recorder.perform(), main.post(), {queue.path(), queue / "missing"});
    for (int i = 0; i < 20; ++i)
        runner.drain();
    runner.waitUntilIdle();
    EXPECT_FALSE(fs::exists(paths::appActionLogPath()));
}

TEST(QueuedActionRunner, AnUnlistableFolderIsLoggedAndSkipped) {
    test::ScopedHome home;
    TempDir queue;
    const auto notAFolder = queue.write("file-not-folder", "x");
    queue.write("ok/a.json", action("a"));
    Recorder recorder;
    MainQueue main;
    QuillaQueuedActionRunner runner(recorder.perform(), main.post(), {notAFolder, queue / "ok"});
    drainOnce(runner);
    EXPECT_EQ(recorder.actionIDs(), std::vector<std::string>{"a"});
    EXPECT_EQ(logLines().front(), "queue drain skipped: " + notAFolder.string() + " error=Not a directory");
}

TEST(QueuedActionRunner, TwoRunnersRacingHandleEachFileOnce) {
    test::ScopedHome home;
    TempDir queue;
    constexpr int kFiles = 200;
    for (int i = 0; i < kFiles; ++i) {
        queue.write(std::to_string(1000 + i) + ".json", action("id" + std::to_string(i)));
    }
    Recorder recorder; // shared: both runners report into one list
    MainQueue main;
    QuillaQueuedActionRunner first(recorder.perform(), main.post(), {queue.path()});
    QuillaQueuedActionRunner second(recorder.perform(), main.post(), {queue.path()});
    first.drain();
    second.drain();
    first.waitUntilIdle();
    second.waitUntilIdle();

    const auto ids = recorder.actionIDs();
    EXPECT_EQ(ids.size(), static_cast<std::size_t>(kFiles));
    EXPECT_EQ(std::set<std::string>(ids.begin(), ids.end()).size(), static_cast<std::size_t>(kFiles));
    // Every file the loser listed but could not claim is reported, never run.
    EXPECT_EQ(countLinesStartingWith("app delegate queued action succeeded: "),
              static_cast<std::size_t>(kFiles));
    for (const auto& line : logLines()) {
        if (line.starts_with("queue claim skipped: ")) {
            EXPECT_NE(line.find(" error=No such file or directory"), std::string::npos) << line;
        }
    }
    EXPECT_TRUE(fs::is_empty(queue.path()));
}

TEST(QueuedActionRunner, PassesRunOneAfterAnotherAndNoneIsLost) {
    test::ScopedHome home;
    TempDir queue;
    queue.write("keep.txt", "makes every pass log one line");
    queue.write("a.json", action("slow"));
    std::mutex gate;
    std::condition_variable opened;
    bool release = false;
    std::atomic<int> running{0};
    std::atomic<int> mostAtOnce{0};
    Recorder recorder;
    recorder.behaviour = [&](const ActionRequest&) {
        mostAtOnce = std::max(mostAtOnce.load(), ++running);
        std::unique_lock lock(gate);
        opened.wait(lock, [&] { return release; });
        --running;
    };
    MainQueue main;
    QuillaQueuedActionRunner runner(recorder.perform(), main.post(), {queue.path()});
    runner.drain();
    // While the first pass is stuck in its action, more requests arrive from several threads.
    std::vector<std::thread> callers;
    for (int t = 0; t < 4; ++t) {
        callers.emplace_back([&] {
            for (int i = 0; i < 5; ++i)
                runner.drain();
        });
    }
    for (auto& c : callers)
        c.join();
    queue.write("b.json", action("slow"));
    {
        std::lock_guard lock(gate);
        release = true;
    }
    opened.notify_all();
    runner.waitUntilIdle();

    EXPECT_EQ(mostAtOnce.load(), 1);
    EXPECT_EQ(recorder.requests.size(), 2u);
    EXPECT_EQ(countLinesStartingWith("queue drain found "), 21u); // 1 + 4 × 5 passes
}

TEST(QueuedActionRunner, PollingPicksUpAFileWithoutASignal) {
    test::ScopedHome home;
    TempDir queue;
    Recorder recorder;
    MainQueue main;
    QuillaQueuedActionRunner runner(recorder.perform(), main.post(), {queue.path()});
    runner.startPolling(std::chrono::milliseconds(20));
    runner.startPolling(std::chrono::hours(1)); // later calls change nothing
    queue.write("late.json", action("late"));
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (recorder.actionIDs().empty() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_EQ(recorder.actionIDs(), std::vector<std::string>{"late"});
}

TEST(QueuedActionRunner, FallbackFolderIsUsedOnlyWhileItIsPrivate) {
    test::ScopedHome home;
    const auto fallback = paths::fallbackQueueDir();
    ASSERT_TRUE(fallback.string().starts_with(home.home().parent_path().string()));

    // Missing: made private and used.
    EXPECT_EQ(QuillaQueuedActionRunner::queueDirectoryURLs(),
              (std::vector<fs::path>{paths::primaryQueueDir(), fallback}));
    struct stat info {};
    ASSERT_EQ(::stat(fallback.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);

    // Writable by others after the start: the runner stops listing it, and says so once.
    Recorder recorder;
    MainQueue main;
    QuillaQueuedActionRunner runner(recorder.perform(), main.post());
    ::chmod(fallback.c_str(), 0777);
    std::ofstream(fallback / "planted.json") << action("planted");
    drainOnce(runner);
    drainOnce(runner);
    EXPECT_TRUE(recorder.requests.empty());
    EXPECT_TRUE(fs::exists(fallback / "planted.json"));
    const std::string skipped = "queue directory skipped: " + fallback.string() + " reason=not private";
    EXPECT_EQ(logLines(), std::vector<std::string>{skipped});

    // Not private at start: left out of the list, still reported only once.
    EXPECT_EQ(QuillaQueuedActionRunner::queueDirectoryURLs(),
              std::vector<fs::path>{paths::primaryQueueDir()});
    EXPECT_EQ(QuillaQueuedActionRunner::queueDirectoryURLs(),
              std::vector<fs::path>{paths::primaryQueueDir()});
    EXPECT_EQ(countLinesStartingWith("queue directory skipped: "), 1u);
}

TEST(QueuedActionRunner, AQueueFolderOthersCouldWriteToRunsNothing) {
    test::ScopedHome home;
    TempDir root;
    struct Case {
        std::string name;
        std::function<void(const fs::path&)> spoil;
    };
    std::vector<Case> cases{
        {"group-writable", [](const fs::path& dir) { ::chmod(dir.c_str(), 0770); }},
        {"world-writable", [](const fs::path& dir) { ::chmod(dir.c_str(), 01777); }},
        {"link",
         [](const fs::path& dir) {
             const fs::path real = dir.string() + "-real"; // private itself, but reached through a link
             fs::rename(dir, real);
             fs::create_directory_symlink(real, dir);
         }},
    };
    if (::geteuid() == 0) {
        cases.push_back(
            {"foreign", [](const fs::path& dir) { ASSERT_EQ(::chown(dir.c_str(), 4242, 4242), 0); }});
    }
    for (const auto& c : cases) {
        const auto folder = root / c.name;
        fs::create_directory(folder);
        std::ofstream(folder / "planted.json") << action("planted");
        c.spoil(folder);
        Recorder recorder;
        MainQueue main;
        QuillaQueuedActionRunner runner(recorder.perform(), main.post(), {folder});
        drainOnce(runner);
        drainOnce(runner);
        EXPECT_TRUE(recorder.requests.empty()) << c.name;
        EXPECT_TRUE(fs::exists(folder / "planted.json")) << c.name;
        EXPECT_EQ(
            countLinesStartingWith("queue directory skipped: " + folder.string() + " reason=not private"), 1u)
            << c.name;
    }
    // The primary folder is made private by the application as well.
    QuillaQueuedActionRunner::queueDirectoryURLs();
    struct stat info {};
    ASSERT_EQ(::lstat(paths::primaryQueueDir().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0700u);
}

TEST(QueuedActionRunner, AQueuedFileOfAnotherUserIsRefused) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "giving a file to another user needs root";
    }
    test::ScopedHome home;
    TempDir queue;
    const auto planted = queue.write("a-planted.json", action("planted"));
    ASSERT_EQ(::chown(planted.c_str(), 4242, 4242), 0);
    queue.write("b-mine.json", action("mine"));
    Recorder recorder;
    MainQueue main;
    QuillaQueuedActionRunner runner(recorder.perform(), main.post(), {queue.path()});
    drainOnce(runner);
    EXPECT_EQ(recorder.actionIDs(), std::vector<std::string>{"mine"});
    EXPECT_EQ(countLinesStartingWith("queued action refused: " + (queue / "a-planted.processing").string() +
                                     " reason=owned by uid 4242"),
              1u);
    EXPECT_TRUE(fs::is_empty(queue.path()));
}

namespace {

std::string queuedJSON(const std::string& id, const std::vector<fs::path>& selected) {
    nlohmann::json paths = nlohmann::json::array();
    for (const auto& path : selected)
        paths.push_back(path.string());
    return nlohmann::json{{"actionID", id}, {"selectedPaths", paths}}.dump();
}

/// The names in `folder`, sorted.
std::vector<std::string> namesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

void makeOld(const fs::path& item) {
    fs::last_write_time(item, fs::file_time_type::clock::now() - std::chrono::hours(1));
}

} // namespace

TEST(QueuedActionRunner, StaleClaimsAreReportedAndOnlySafeActionsRunAgain) {
    test::ScopedHome home;
    TempDir queue;
    TempDir files;
    const auto file = files.write("a.txt", "a");
    queue.write("1-safe.processing", queuedJSON("copyFullPath", {file}));
    queue.write("2-already-retried.retry.processing", queuedJSON("copyFullPath", {file}));
    queue.write("3-unsafe.processing", queuedJSON("moveFilesToFolder", {file}));
    queue.write("4-garbage.processing", "{");
    // A claim another living runner holds is none of this start's business.
    const auto held = queue.write("5-held.processing", queuedJSON("copyFullPath", {file}));
    const int heldFD = ::open(held.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(::flock(heldFD, LOCK_EX), 0);

    Recorder recorder;
    MainQueue main;
    QuillaQueuedActionRunner runner(recorder.perform(), main.post(), {queue.path()});
    runner.recoverInterruptedActions();
    drainOnce(runner);
    ::close(heldFD);

    EXPECT_EQ(recorder.actionIDs(), std::vector<std::string>{"copyFullPath"});
    const std::string prefix = "queued action interrupted by an earlier exit: ";
    const std::string selected =
        " selected=[\"" + file.string() + "\"] target=nil destination=nil presetID=nil file=";
    const std::vector<std::string> expected{
        prefix + "action=copyFullPath" + selected + (queue / "1-safe.processing").string() +
            " (queued again)",
        prefix + "action=copyFullPath" + selected + (queue / "2-already-retried.retry.processing").string() +
            " (not run again)",
        prefix + "action=moveFilesToFolder" + selected + (queue / "3-unsafe.processing").string() +
            " (not run again)",
        prefix + "unreadable file=" + (queue / "4-garbage.processing").string() + " (not run again)",
    };
    const auto lines = logLines();
    ASSERT_GE(lines.size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 4), expected);
    EXPECT_EQ(namesIn(queue.path()), std::vector<std::string>{"5-held.processing"});

    EXPECT_TRUE(QuillaQueuedActionRunner::isSafeToRepeat("copyFullPath"));
    EXPECT_FALSE(QuillaQueuedActionRunner::isSafeToRepeat("compressToZIP"));
    EXPECT_FALSE(QuillaQueuedActionRunner::isSafeToRepeat("quickOpenTypedPath"));
    EXPECT_FALSE(QuillaQueuedActionRunner::isSafeToRepeat("no such action"));
}

TEST(QueuedActionRunner, AnInterruptedActionsPartialOutputsAreRemoved) {
    test::ScopedHome home;
    TempDir queue;
    TempDir files;
    const auto selectedFile = files.write("d/a.txt", "a");
    const auto folder = selectedFile.parent_path();
    const std::string uuid = "0A1B2C3D-4E5F-4A6B-8C7D-9E0F1A2B3C4D";
    const auto workFolder = paths::tempDir() / ("quilla-archive-" + uuid);
    const auto oldWorkFolder = paths::tempDir() / "quilla-office-1A1B2C3D-4E5F-4A6B-8C7D-9E0F1A2B3C4D";
    fs::create_directories(oldWorkFolder);
    makeOld(oldWorkFolder);
    // Older than the claim: not this interruption's.
    makeOld(files.write("d/.report.txt.Q1w2E3", "older"));

    queue.write("1.processing", queuedJSON("compressToZIP", {selectedFile}));
    files.write("d/.quilla-archive-" + uuid + ".zip", "PK partial");
    files.write("d/.quilla-extracting-" + uuid + "/inner/x.txt", "x");
    files.write("d/.quilla-Ab3dE9.jpg", "partial image");
    files.write("d/.a.txt.Zx81Qa", "partial copy");
    files.write("d/.quilla-renaming-" + uuid, "the user's own file, mid-rename");
    files.write("d/.notes.backup", "a user's file of the same shape");
    files.write("d/.hidden", "a user's file");
    fs::create_directories(workFolder / "staging");

    Recorder recorder;
    MainQueue main;
    QuillaQueuedActionRunner runner(recorder.perform(), main.post(), {queue.path()});
    runner.recoverInterruptedActions();

    EXPECT_TRUE(recorder.requests.empty());
    EXPECT_EQ(namesIn(folder),
              (std::vector<std::string>{".hidden", ".notes.backup", ".quilla-renaming-" + uuid,
                                        ".report.txt.Q1w2E3", "a.txt"}));
    EXPECT_FALSE(fs::exists(workFolder));
    EXPECT_TRUE(fs::exists(oldWorkFolder));
    EXPECT_TRUE(fs::is_empty(queue.path()));
    EXPECT_EQ(countLinesStartingWith("partial output of an interrupted action removed: " + folder.string()),
              4u);
    EXPECT_EQ(countLinesStartingWith("work folder of an interrupted action removed: " + workFolder.string()),
              1u);
    EXPECT_EQ(countLinesStartingWith("item of an interrupted rename kept: "), 1u);
}

TEST(QueuedActionRunner, SettingsTemporariesOfAnInterruptedSaveAreRemoved) {
    test::ScopedHome home;
    const auto app = paths::appSupportDir();
    const auto extension = paths::extensionSupportDir();
    fs::create_directories(extension);
    std::ofstream(app / ".FeatureSettings.plist.a8Kq2Z") << "<?xml";
    std::ofstream(extension / ".AppPreferences.plist.00000x") << "";
    std::ofstream(app / "FeatureSettings.plist") << "kept";
    std::ofstream(app / ".notes.txt.a8Kq2Z") << "not a settings file";

    LeftoverFiles::clearSettingsTemporaries();
    EXPECT_EQ(namesIn(app),
              (std::vector<std::string>{".notes.txt.a8Kq2Z", "FeatureSettings.plist", "finder-extension"}));
    EXPECT_TRUE(fs::is_empty(extension));
    EXPECT_EQ(countLinesStartingWith("temporary of an interrupted save removed: "), 2u);
}
