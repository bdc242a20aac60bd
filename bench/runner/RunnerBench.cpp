// Click-to-done latency of the queued-action runner, and what polling an empty queue costs.
//
// A "click" is what the extension does: write one queued-action file atomically into the queue
// folder. "Done" is the runner having run copyFullPath, logged it and removed the claim file.
// Everything runs in a throwaway HOME, so the user's queue and log are never touched.

#include "app/core/executor/FinderActionExecutor.h"
#include "app/core/runner/QuillaQueuedActionRunner.h"
#include "app/core/tests/fakes/FakePlatform.h"
#include "shared/FileIO.h"
#include "shared/QuillaPaths.h"
#include "shared/Uuid.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <condition_variable>
#include <cstdlib>
#include <ctime>
#include <mutex>
#include <thread>

namespace {

namespace fs = std::filesystem;
using namespace quilla;
using Clock = std::chrono::steady_clock;

fs::path gRoot;

void useThrowawayHome() {
    std::string pattern = (fs::temp_directory_path() / "quilla-runner-bench-XXXXXX").string();
    gRoot = ::mkdtemp(pattern.data());
    for (const auto& [variable, folder] : {std::pair{"HOME", "home"}, {"XDG_CONFIG_HOME", "config"},
                                          {"XDG_STATE_HOME", "state"}, {"XDG_DATA_HOME", "data"},
                                          {"XDG_RUNTIME_DIR", "runtime"}}) {
        fs::create_directories(gRoot / folder);
        fs::permissions(gRoot / folder, fs::perms::owner_all);
        ::setenv(variable, (gRoot / folder).c_str(), 1);
    }
}

/// The executor with an in-memory clipboard, reporting each finished action.
struct Harness {
    test::FakePlatform platform;
    ExecutorContext context = platform.context();
    FinderActionExecutor executor{context};
    std::mutex mutex;
    std::condition_variable finished;
    std::size_t done = 0;
    Clock::time_point lastStart;
    Clock::time_point lastEnd;

    QuillaQueuedActionRunner::Perform perform() {
        return [this](const ActionRequest& request) {
            const auto start = Clock::now();
            auto result = executor.perform(request);
            {
                std::lock_guard lock(mutex);
                ++done;
                lastStart = start;
                lastEnd = Clock::now();
            }
            finished.notify_all();
            return result;
        };
    }
    void waitFor(std::size_t count) {
        std::unique_lock lock(mutex);
        finished.wait(lock, [&] { return done >= count; });
    }
};

fs::path selectedFile() {
    static const fs::path file = [] {
        const auto path = gRoot / "home" / "Desktop" / "report 1.txt";
        fs::create_directories(path.parent_path());
        writeFileAtomically(path, "x");
        return path;
    }();
    return file;
}

/// What the extension writes for one click (the same atomic, synced write as its queue).
void click() {
    const std::string json = R"({"actionID":"copyFullPath","title":"复制完整路径","selectedPaths":[")" +
                             selectedFile().string() + R"("],"targetedPath":")" +
                             selectedFile().parent_path().string() + R"(","createdAt":0})";
    writeFileAtomically(paths::primaryQueueDir() / (newUUIDString() + ".json"), json, false, 0600);
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

void reportLatencies(benchmark::State& state, std::vector<double>& seconds) {
    std::sort(seconds.begin(), seconds.end());
    if (seconds.empty()) return;
    state.counters["median_ms"] = seconds[seconds.size() / 2] * 1e3;
    state.counters["p90_ms"] = seconds[seconds.size() * 9 / 10] * 1e3;
    state.counters["max_ms"] = seconds.back() * 1e3;
}

// The lower bound: the executor alone, no queue file and no runner.
void BM_DirectPerform(benchmark::State& state) {
    Harness harness;
    const ActionRequest request{.actionID = "copyFullPath", .selectedPaths = {selectedFile()}};
    for (auto _ : state) {
        benchmark::DoNotOptimize(harness.executor.perform(request));
    }
}

// The click alone, as the extension writes it (synced) and, for comparison, without the syncs.
void BM_QueueFileWrite(benchmark::State& state) {
    const bool synced = state.range(0) != 0;
    const auto folder = gRoot / "write-only";
    fs::create_directories(folder);
    for (auto _ : state) {
        const auto file = folder / (newUUIDString() + ".json");
        if (synced) {
            writeFileAtomically(file, R"({"actionID":"copyFullPath"})", false, 0600);
        } else {
            const auto temporary = folder / ".pending";
            std::FILE* out = std::fopen(temporary.c_str(), "w");
            std::fputs(R"({"actionID":"copyFullPath"})", out);
            std::fclose(out);
            fs::rename(temporary, file);
        }
        state.PauseTiming();
        fs::remove(file);
        state.ResumeTiming();
    }
    state.SetLabel(synced ? "fsync file and folder" : "no fsync");
}

// The signal path: the extension's D-Bus signal makes the application call drain() at once.
void BM_ClickToDoneWithSignal(benchmark::State& state) {
    Harness harness;
    QuillaQueuedActionRunner runner(harness.perform(), [](std::function<void()> work) { work(); },
                                    {paths::primaryQueueDir()});
    std::vector<double> seconds;
    std::vector<double> writeSeconds;
    std::vector<double> toActionSeconds; // drain() until the action starts: wake-up, listing, claim, read, decode
    std::vector<double> afterActionSeconds; // action end until idle: log lines, claim removal, wake-up
    fs::create_directories(paths::primaryQueueDir());
    for (auto _ : state) {
        const auto start = Clock::now();
        click();
        const auto written = Clock::now();
        runner.drain();
        runner.waitUntilIdle();
        const auto end = Clock::now();
        {
            std::lock_guard lock(harness.mutex);
            toActionSeconds.push_back(std::chrono::duration<double>(harness.lastStart - written).count());
            afterActionSeconds.push_back(std::chrono::duration<double>(end - harness.lastEnd).count());
        }
        const std::chrono::duration<double> elapsed = end - start;
        state.SetIterationTime(elapsed.count());
        seconds.push_back(elapsed.count());
        writeSeconds.push_back(std::chrono::duration<double>(written - start).count());
    }
    reportLatencies(state, seconds);
    // The split: the extension's synced write, and the runner from drain() to done.
    state.counters["median_write_ms"] = median(writeSeconds) * 1e3;
    std::vector<double> runnerSeconds;
    for (std::size_t i = 0; i < seconds.size(); ++i) runnerSeconds.push_back(seconds[i] - writeSeconds[i]);
    state.counters["median_runner_ms"] = median(runnerSeconds) * 1e3;
    state.counters["median_to_action_ms"] = median(toActionSeconds) * 1e3;
    state.counters["median_after_action_ms"] = median(afterActionSeconds) * 1e3;
}

// The signal was lost: only the one-second poll finds the file.
void BM_ClickToDoneWithPollingOnly(benchmark::State& state) {
    Harness harness;
    QuillaQueuedActionRunner runner(harness.perform(), [](std::function<void()> work) { work(); },
                                    {paths::primaryQueueDir()});
    runner.startPolling();
    std::vector<double> seconds;
    std::size_t expected = 0;
    for (auto _ : state) {
        // Clicks arrive at arbitrary moments relative to the poll's phase.
        std::this_thread::sleep_for(std::chrono::milliseconds(std::rand() % 1000));
        const auto start = Clock::now();
        click();
        harness.waitFor(++expected);
        runner.waitUntilIdle();
        const std::chrono::duration<double> elapsed = Clock::now() - start;
        state.SetIterationTime(elapsed.count());
        seconds.push_back(elapsed.count());
    }
    reportLatencies(state, seconds);
}

double processCPUSeconds() {
    timespec now{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

std::uintmax_t logBytes() {
    std::error_code ec;
    const auto size = fs::file_size(paths::appActionLogPath(), ec);
    return ec ? 0 : size;
}

// Idle cost: the real one-second poll over an empty primary queue and the (private) fallback,
// for state.range(0) seconds of wall time.
void BM_IdlePolling(benchmark::State& state) {
    const auto directories = QuillaQueuedActionRunner::queueDirectoryURLs();
    fs::create_directories(paths::primaryQueueDir());
    const auto logBefore = logBytes();
    for (auto _ : state) {
        Harness harness;
        const double cpuBefore = processCPUSeconds();
        const auto wallBefore = Clock::now();
        {
            QuillaQueuedActionRunner runner(harness.perform(), [](std::function<void()> work) { work(); },
                                            directories);
            runner.startPolling();
            std::this_thread::sleep_for(std::chrono::seconds(state.range(0)));
        }
        const std::chrono::duration<double> wall = Clock::now() - wallBefore;
        const double cpu = processCPUSeconds() - cpuBefore;
        state.SetIterationTime(wall.count());
        state.counters["cpu_ms_per_minute"] = cpu / wall.count() * 60.0 * 1e3;
        state.counters["percent_of_one_core"] = cpu / wall.count() * 100.0;
    }
    state.counters["log_bytes_written"] = static_cast<double>(logBytes() - logBefore);
}

// The cost of one idle pass, measured over many passes (a fast poll) for a finer figure.
void BM_IdlePass(benchmark::State& state) {
    Harness harness;
    QuillaQueuedActionRunner runner(harness.perform(), [](std::function<void()> work) { work(); },
                                    QuillaQueuedActionRunner::queueDirectoryURLs());
    for (auto _ : state) {
        runner.drain();
        runner.waitUntilIdle();
    }
}

} // namespace

BENCHMARK(BM_DirectPerform);
BENCHMARK(BM_QueueFileWrite)->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ClickToDoneWithSignal)->UseManualTime()->Iterations(2000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ClickToDoneWithPollingOnly)->UseManualTime()->Iterations(30)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IdlePass)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_IdlePolling)->Arg(60)->UseManualTime()->Iterations(1)->Unit(benchmark::kSecond);

int main(int argc, char** argv) {
    useThrowawayHome();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code ec;
    fs::remove_all(gRoot, ec);
    return 0;
}
