// Checksums against the standard tools on the same file in the same run, peak memory while hashing,
// several files on all cores, and scheduling and processing 10,000 items. Inputs are made at run
// time in a temporary folder, which also serves as HOME and XDG folders (the real Trash and
// settings are never touched), and removed at the end.

#include "app/core/deletion/ScheduledDeletionStore.h"
#include "app/core/executor/CommandRunner.h"
#include "app/core/operations/developer/FileChecksums.h"
#include "app/core/platform/FreedesktopTrash.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace quilla;
namespace fs = std::filesystem;

namespace {

constexpr std::size_t kMiB = 1024 * 1024;
constexpr int kItems = 10'000;

fs::path& root() {
    static fs::path path;
    return path;
}

fs::path bigFile() { return root() / "one-gib.bin"; }
std::vector<fs::path> quarterFiles() {
    std::vector<fs::path> files;
    for (int i = 0; i < 4; ++i) {
        files.push_back(root() / ("quarter-" + std::to_string(i) + ".bin"));
    }
    return files;
}

void writeRandomFile(const fs::path& path, std::size_t bytes) {
    std::mt19937_64 random(42);
    std::string block(kMiB, '\0');
    for (auto& c : block) {
        c = static_cast<char>(random());
    }
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    for (std::size_t done = 0; done < bytes; done += kMiB) {
        block[0] = static_cast<char>(done / kMiB); // no two blocks alike
        if (::write(fd, block.data(), kMiB) != static_cast<ssize_t>(kMiB)) {
            std::abort();
        }
    }
    ::close(fd);
}

void warmPageCache(const fs::path& path) { FileChecksums::digest(path, ChecksumAlgorithm::md5); }

void runTool(const char* tool, std::vector<std::string> arguments) {
    const auto result = CommandRunner::run(tool, arguments, {});
    if (result.exitStatus != 0) {
        std::abort();
    }
    benchmark::DoNotOptimize(result.standardOutput);
}

void setPerSecond(benchmark::State& state, std::size_t bytes) {
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(bytes));
}

void BM_Quilla_SHA256(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(FileChecksums::digest(bigFile(), ChecksumAlgorithm::sha256));
    }
    setPerSecond(state, 1024 * kMiB);
}
void BM_Tool_openssl_dgst_sha256(benchmark::State& state) {
    for (auto _ : state) {
        runTool("/usr/bin/openssl", {"dgst", "-sha256", bigFile().string()});
    }
    setPerSecond(state, 1024 * kMiB);
}
void BM_Tool_sha256sum(benchmark::State& state) {
    for (auto _ : state) {
        runTool("/usr/bin/sha256sum", {bigFile().string()});
    }
    setPerSecond(state, 1024 * kMiB);
}
void BM_Quilla_MD5(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(FileChecksums::digest(bigFile(), ChecksumAlgorithm::md5));
    }
    setPerSecond(state, 1024 * kMiB);
}
void BM_Tool_md5sum(benchmark::State& state) {
    for (auto _ : state) {
        runTool("/usr/bin/md5sum", {bigFile().string()});
    }
    setPerSecond(state, 1024 * kMiB);
}
void BM_Tool_cat_read_only(benchmark::State& state) {
    for (auto _ : state) {
        runTool("/bin/dd", {"if=" + bigFile().string(), "of=/dev/null", "bs=1M", "status=none"});
    }
    setPerSecond(state, 1024 * kMiB);
}

// Peak resident memory of a child that hashes the whole 1 GiB file, minus that of a child that
// hashes nothing: what hashing itself costs.
long childPeakKiB(bool hash) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (hash) {
            FileChecksums::digest(bigFile(), ChecksumAlgorithm::sha256);
        }
        ::_exit(0);
    }
    int status = 0;
    struct rusage usage {};
    ::wait4(pid, &status, 0, &usage);
    return usage.ru_maxrss;
}
void BM_Quilla_SHA256_PeakMemory(benchmark::State& state) {
    long baseline = 0;
    long peak = 0;
    for (auto _ : state) {
        baseline = childPeakKiB(false);
        peak = childPeakKiB(true);
    }
    state.counters["peak_KiB"] = static_cast<double>(peak);
    state.counters["hashing_KiB"] = static_cast<double>(peak - baseline);
}

void BM_Quilla_SHA256_FourFiles_AllCores(benchmark::State& state) {
    const auto files = quarterFiles();
    for (auto _ : state) {
        benchmark::DoNotOptimize(FileChecksums::lines(files, ChecksumAlgorithm::sha256));
    }
    setPerSecond(state, 1024 * kMiB);
}
void BM_Quilla_SHA256_FourFiles_OneByOne(benchmark::State& state) {
    const auto files = quarterFiles();
    for (auto _ : state) {
        for (const auto& file : files) {
            benchmark::DoNotOptimize(FileChecksums::digest(file, ChecksumAlgorithm::sha256));
        }
    }
    setPerSecond(state, 1024 * kMiB);
}

std::vector<fs::path> makeItems() {
    std::vector<fs::path> items;
    fs::create_directories(root() / "items");
    for (int i = 0; i < kItems; ++i) {
        items.push_back(root() / "items" / ("item-" + std::to_string(i) + ".txt"));
        const int fd = ::open(items.back().c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
        ::close(fd);
    }
    return items;
}

ScheduledDeletionStore::Options storeOptions(std::chrono::system_clock::time_point* now) {
    ScheduledDeletionStore::Options options;
    options.file = root() / "ScheduledDeletions.plist";
    options.now = [now] { return *now; };
    options.log = [](std::string_view) {};
    return options;
}

void BM_Schedule10000Items(benchmark::State& state) {
    auto now = std::chrono::system_clock::now();
    const ScheduledDeletionStore store(storeOptions(&now));
    const auto items = makeItems();
    for (auto _ : state) {
        state.PauseTiming();
        fs::remove(root() / "ScheduledDeletions.plist");
        state.ResumeTiming();
        store.schedule(items, std::chrono::hours(1));
    }
}

void BM_ProcessRun10000ItemsNoneDue(benchmark::State& state) {
    auto now = std::chrono::system_clock::now();
    const ScheduledDeletionStore store(storeOptions(&now));
    FreedesktopTrash trash;
    fs::remove(root() / "ScheduledDeletions.plist");
    store.schedule(makeItems(), std::chrono::hours(1));
    for (auto _ : state) {
        store.processDueItemsNow(trash);
    }
}

void BM_ProcessRun10000ItemsAllDueToTrash(benchmark::State& state) {
    auto now = std::chrono::system_clock::now();
    const ScheduledDeletionStore store(storeOptions(&now));
    FreedesktopTrash trash;
    for (auto _ : state) {
        state.PauseTiming();
        fs::remove_all(root() / "data/Trash");
        fs::remove(root() / "ScheduledDeletions.plist");
        now = std::chrono::system_clock::now();
        store.schedule(makeItems(), std::chrono::seconds(0));
        state.ResumeTiming();
        store.processDueItemsNow(trash);
    }
}

// Anchor for the run above: every trashed item needs a new .trashinfo file, so creating 10,000
// empty files in one folder on the same disk is the floor of such a run.
void BM_Anchor_Create10000Files(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        fs::remove_all(root() / "anchor");
        fs::create_directories(root() / "anchor");
        state.ResumeTiming();
        for (int i = 0; i < kItems; ++i) {
            const auto file = root() / "anchor" / ("f" + std::to_string(i));
            ::close(::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
        }
    }
}

void registerAll() {
    const auto repeated = [](benchmark::internal::Benchmark* b, int repetitions) {
        b->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(repetitions)->ReportAggregatesOnly(true)->UseRealTime();
    };
    repeated(benchmark::RegisterBenchmark("tool/dd_read_only_1GiB", BM_Tool_cat_read_only), 3);
    repeated(benchmark::RegisterBenchmark("quilla/copySHA256_1GiB", BM_Quilla_SHA256), 5);
    repeated(benchmark::RegisterBenchmark("tool/openssl_dgst_sha256_1GiB", BM_Tool_openssl_dgst_sha256), 5);
    repeated(benchmark::RegisterBenchmark("tool/sha256sum_1GiB", BM_Tool_sha256sum), 3);
    repeated(benchmark::RegisterBenchmark("quilla/copyMD5_1GiB", BM_Quilla_MD5), 5);
    repeated(benchmark::RegisterBenchmark("tool/md5sum_1GiB", BM_Tool_md5sum), 5);
    repeated(benchmark::RegisterBenchmark("quilla/copySHA256_peak_memory", BM_Quilla_SHA256_PeakMemory), 1);
    repeated(benchmark::RegisterBenchmark("quilla/copySHA256_4x256MiB_all_cores", BM_Quilla_SHA256_FourFiles_AllCores), 5);
    repeated(benchmark::RegisterBenchmark("quilla/copySHA256_4x256MiB_one_by_one", BM_Quilla_SHA256_FourFiles_OneByOne), 5);
    repeated(benchmark::RegisterBenchmark("quilla/schedule_10000_items", BM_Schedule10000Items), 5);
    repeated(benchmark::RegisterBenchmark("quilla/process_run_10000_none_due", BM_ProcessRun10000ItemsNoneDue), 5);
    repeated(benchmark::RegisterBenchmark("quilla/process_run_10000_all_trashed", BM_ProcessRun10000ItemsAllDueToTrash), 5);
    repeated(benchmark::RegisterBenchmark("anchor/create_10000_empty_files", BM_Anchor_Create10000Files), 5);
}

} // namespace

int main(int argc, char** argv) {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/quilla-developer-bench-XXXXXX";
    if (!::mkdtemp(pattern.data())) {
        return 1;
    }
    root() = pattern;
    for (const auto& [name, sub] : {std::pair{"HOME", "home"}, std::pair{"XDG_CONFIG_HOME", "config"},
                                    std::pair{"XDG_DATA_HOME", "data"}, std::pair{"XDG_STATE_HOME", "state"}}) {
        fs::create_directories(root() / sub);
        ::setenv(name, (root() / sub).c_str(), 1);
    }
    writeRandomFile(bigFile(), 1024 * kMiB);
    for (const auto& file : quarterFiles()) {
        writeRandomFile(file, 256 * kMiB);
        warmPageCache(file);
    }
    warmPageCache(bigFile());

    benchmark::Initialize(&argc, argv);
    registerAll();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    fs::remove_all(root());
    return 0;
}
