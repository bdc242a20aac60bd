// Times Quilla's copy, archive, extraction and rename against the standard tools in one run.
// Each case alternates ours and the tool's run (so both see the same cache and load) and reports
// the medians and their ratio. Inputs are generated in a temporary folder and removed at the end.
//
//   fileops_bench [--benchmark_filter=REGEX]
//   QUILLA_BENCH_BIG=0 skips the 1 GiB cases; QUILLA_BENCH_OURS_ONLY=1 times only Quilla's side;
//   QUILLA_BENCH_TEXT_ONLY=1 fills the small tree with text only;
//   QUILLA_BENCH_SKIP=unzip,zip leaves out the named tools.

#include "app/core/executor/CommandRunner.h"
#include "app/core/operations/copymove/FileTransfer.h"
#include "app/core/operations/rename/ArchiveOperations.h"
#include "app/core/operations/rename/BatchRename.h"
#include "app/core/tests/fakes/FakePlatform.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
using namespace quilla;

namespace {

fs::path benchRoot() {
    static const fs::path root = [] {
        const char* base = std::getenv("TMPDIR");
        std::string pattern = std::string(base && *base ? base : "/var/tmp") + "/quilla-fileops-bench-XXXXXX";
        if (!::mkdtemp(pattern.data())) std::abort();
        return fs::path(pattern);
    }();
    return root;
}

/// Fast deterministic bytes: random (incompressible) or word-like text (compressible).
void fill(std::string& bytes, std::mt19937_64& generator, bool text) {
    static const char* words[] = {"quilla ", "folder ", "archive ", "rename ", "2026 ", "report ", "data\n", "value, "};
    if (!text) {
        for (std::size_t i = 0; i + 8 <= bytes.size(); i += 8) {
            const auto word = generator();
            std::memcpy(bytes.data() + i, &word, 8);
        }
        return;
    }
    std::size_t at = 0;
    while (at < bytes.size()) {
        const char* word = words[generator() % 8];
        for (const char* c = word; *c && at < bytes.size(); ++c) bytes[at++] = *c;
    }
}

void writeFile(const fs::path& path, const std::string& bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0 || ::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) std::abort();
    ::close(fd);
}

/// 1,000 files of 4–64 KiB (~34 MiB) in 20 folders, half word-like text and half random data
/// (QUILLA_BENCH_TEXT_ONLY=1: all text, the worst case for us as nothing can simply be stored).
const fs::path& smallTree() {
    static const fs::path tree = [] {
        const char* textOnly = std::getenv("QUILLA_BENCH_TEXT_ONLY");
        const bool allText = textOnly && std::string(textOnly) == "1";
        const auto root = benchRoot() / "small";
        std::mt19937_64 generator(7);
        for (int i = 0; i < 1000; ++i) {
            const auto folder = root / ("folder" + std::to_string(i % 20));
            fs::create_directories(folder);
            std::string bytes(4096 + generator() % (60 * 1024), '\0');
            fill(bytes, generator, allText || i % 2 == 0);
            writeFile(folder / ("file" + std::to_string(i) + (i % 2 ? ".bin" : ".txt")), bytes);
        }
        return root;
    }();
    return tree;
}

/// One 1 GiB file of random data (nothing to gain from deflate).
const fs::path& bigFile() {
    static const fs::path file = [] {
        const auto folder = benchRoot() / "big";
        fs::create_directories(folder);
        const auto path = folder / "big.bin";
        std::mt19937_64 generator(9);
        std::string block(std::size_t{1} << 24, '\0');
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        for (int i = 0; i < 64; ++i) {
            fill(block, generator, false);
            if (::write(fd, block.data(), block.size()) != static_cast<ssize_t>(block.size())) std::abort();
        }
        ::close(fd);
        return path;
    }();
    return file;
}

bool bigCasesWanted() {
    const char* value = std::getenv("QUILLA_BENCH_BIG");
    return !value || std::string(value) != "0";
}

double seconds(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void tool(const std::string& executable, const std::vector<std::string>& arguments, const fs::path& directory = {}) {
    CommandRunner::Options options;
    if (!directory.empty()) options.currentDirectory = directory;
    const auto result = CommandRunner::run(executable, arguments, options);
    if (result.exitStatus != 0) {
        std::fprintf(stderr, "%s failed: %s\n", executable.c_str(), result.standardError.c_str());
        std::abort();
    }
}

void clean(const fs::path& path) {
    std::error_code ignored;
    fs::remove_all(path, ignored);
}

struct Contender {
    std::string name;
    std::function<void()> run;
    std::function<void()> cleanUp;
};

/// Runs every contender `rounds` times, alternating, and reports the first one's median as the
/// benchmark time and every median and ratio (first / other) as counters.
void compare(benchmark::State& state, int rounds, std::vector<Contender> contenders) {
    if (const char* only = std::getenv("QUILLA_BENCH_OURS_ONLY"); only && std::string(only) == "1") {
        contenders.resize(1); // for profiling our side alone
    }
    if (const char* skip = std::getenv("QUILLA_BENCH_SKIP")) { // e.g. "unzip,zip" while iterating
        const std::string list = std::string(",") + skip + ",";
        std::erase_if(contenders, [&](const Contender& c) { return c.name != "quilla" && list.find("," + c.name + ",") != std::string::npos; });
    }
    std::vector<std::vector<double>> times(contenders.size());
    for (auto& contender : contenders) { // one warm-up each, untimed
        contender.run();
        contender.cleanUp();
    }
    for (int round = 0; round < rounds; ++round) {
        for (std::size_t i = 0; i < contenders.size(); ++i) {
            times[i].push_back(seconds(contenders[i].run));
            contenders[i].cleanUp();
        }
    }
    for (auto _ : state) state.SetIterationTime(median(times[0]));
    const double ours = median(times[0]);
    state.counters[contenders[0].name + "_s"] = ours;
    for (std::size_t i = 1; i < contenders.size(); ++i) {
        const double theirs = median(times[i]);
        state.counters[contenders[i].name + "_s"] = theirs;
        state.counters["ratio_vs_" + contenders[i].name] = ours / theirs;
    }
}

test::FakePlatform& platform() {
    static test::FakePlatform instance = [] {
        test::FakePlatform made;
        made.preferences.revealActionResults = false;
        return made;
    }();
    return instance;
}

ExecutorContext context() { return platform().context(); }

void BM_CopyTree(benchmark::State& state) {
    const auto out = benchRoot() / "copy-out";
    compare(state, 7,
            {{"quilla", [&] { fileops::copyItem(smallTree(), out); }, [&] { clean(out); }},
             {"cp", [&] { tool("/usr/bin/cp", {"-r", smallTree().string(), out.string()}); }, [&] { clean(out); }}});
}

void BM_CopyBigFile(benchmark::State& state) {
    if (!bigCasesWanted()) return state.SkipWithError("QUILLA_BENCH_BIG=0");
    const auto out = benchRoot() / "big-copy.bin";
    compare(state, 5,
            {{"quilla", [&] { fileops::copyItem(bigFile(), out); }, [&] { clean(out); }},
             {"cp", [&] { tool("/usr/bin/cp", {bigFile().string(), out.string()}); }, [&] { clean(out); }}});
}

void compressCase(benchmark::State& state, const fs::path& item, int rounds) {
    const auto zipOut = benchRoot() / "tool.zip";
    const auto ours = item.parent_path() / (item.stem().string() + ".zip");
    compare(state, rounds,
            {{"quilla", [&] { archives::compressToZIP(context(), {item}, std::nullopt); }, [&] { clean(ours); }},
             {"zip", [&] { tool("/usr/bin/zip", {"-qrX", zipOut.string(), item.filename().string()}, item.parent_path()); },
              [&] { clean(zipOut); }}});
    // Every archive must pass the standard tester.
    archives::compressToZIP(context(), {item}, std::nullopt);
    tool("/usr/bin/unzip", {"-tq", ours.string()});
    clean(ours);
}

void BM_CompressTree(benchmark::State& state) { compressCase(state, smallTree(), 5); }

void BM_CompressBigFile(benchmark::State& state) {
    if (!bigCasesWanted()) return state.SkipWithError("QUILLA_BENCH_BIG=0");
    compressCase(state, bigFile(), 3);
}

void extractCase(benchmark::State& state, const fs::path& item, int rounds) {
    const auto archive = benchRoot() / (item.filename().string() + "-source.zip");
    if (!fs::exists(archive)) tool("/usr/bin/zip", {"-qrX", archive.string(), item.filename().string()}, item.parent_path());
    const auto out = benchRoot() / "extract-out";
    const auto ours = benchRoot() / (archive.stem().string()); // extractZIPToFolder's new folder
    const auto prepare = [&] { fs::create_directories(out); };
    compare(state, rounds,
            {{"quilla", [&] { archives::extractZIPs(context(), {archive}, archives::ArchiveExtractionMode::toFolder); },
              [&] { clean(ours); }},
             {"bsdtar", [&] { prepare(); tool("/usr/bin/bsdtar", {"-xf", archive.string(), "-C", out.string()}); },
              [&] { clean(out); }},
             {"unzip", [&] { prepare(); tool("/usr/bin/unzip", {"-qo", archive.string(), "-d", out.string()}); },
              [&] { clean(out); }}});
}

void BM_ExtractTree(benchmark::State& state) { extractCase(state, smallTree(), 7); }

void BM_ExtractBigFile(benchmark::State& state) {
    if (!bigCasesWanted()) return state.SkipWithError("QUILLA_BENCH_BIG=0");
    extractCase(state, bigFile(), 3);
}

void BM_Rename10000(benchmark::State& state) {
    const auto folder = benchRoot() / "rename";
    std::vector<fs::path> items;
    const auto make = [&] {
        fs::create_directories(folder);
        items.clear();
        for (int i = 0; i < 10000; ++i) {
            items.push_back(folder / ("IMG_" + std::to_string(i) + ".jpg"));
            writeFile(items.back(), "");
        }
    };
    std::vector<double> times;
    for (int round = 0; round < 5; ++round) {
        make();
        platform().prompts.texts.push_back("Trip");
        times.push_back(seconds([&] { rename::renameFiles(context(), items, rename::RenameMode::sequential); }));
        clean(folder);
    }
    for (auto _ : state) state.SetIterationTime(median(times));
    state.counters["quilla_s"] = median(times);
    state.counters["goal_s"] = 1.0;
}

} // namespace

BENCHMARK(BM_CopyTree)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CopyBigFile)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CompressTree)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CompressBigFile)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExtractTree)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExtractBigFile)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Rename10000)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    // Keep the compression log lines out of the user's real log.
    ::setenv("XDG_STATE_HOME", (benchRoot() / "state").c_str(), 1);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    clean(benchRoot());
    return 0;
}
