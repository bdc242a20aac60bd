// Whole commands, as a user runs them. Each `quilla perform` case alternates runs of Quilla and of
// the tool beside it (Quilla, tool, Quilla, tool, …; one untimed warm-up pair first) and reports
// the median of the pairwise ratios Quilla / tool, for wall and CPU time, and each side's medians:
// on a loaded machine, the two runs of one pair share the load of their moment, separate medians
// do not. The cold click starts `quilla --login-item` with one action already queued and times it
// up to the action's effect (a copy of a file appearing).
//
// Inputs are generated at run time in a temporary folder, which is also HOME and every XDG_*
// folder of the commands run; there, Quilla's preference to show results in the file manager is
// off. A case whose tool is missing is skipped with the reason.
//
//   dbus-run-session -- process_bench [--benchmark_filter=REGEX]
//   QUILLA_BENCH_PAIRS     timed pairs per case (default 9; 5 for the 1 GiB file)
//   QUILLA_BENCH_BIG_MIB   size of the large file to hash (default 1024)
//   QUILLA_BENCH_STARTS    cold starts of the application (default 9)
//   QUILLA_BENCH_BASELINE  another quilla build whose cold starts alternate with this one's
//   QUILLA_BENCH_KEEP      keep the generated inputs (to profile one command by hand)

#include "app/core/preferences/AppPreferencesPersistence.h"
#include "bench/process/ProcessRun.h"
#include "finder-extension/core/QuillaActionQueue.h"

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFWriter.hh>
#include <vips/vips8>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <poll.h>
#include <random>
#include <sys/inotify.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace quilla::bench;

namespace {

const std::string kQuilla = QUILLA_EXECUTABLE;

int setting(const char* name, int fallback) {
    const char* value = std::getenv(name);
    return value && *value ? std::max(1, std::atoi(value)) : fallback;
}

// The temporary folder, made HOME and XDG_* for every command this program starts.
const fs::path& root() {
    static const fs::path made = [] {
        std::string pattern = (fs::temp_directory_path() / "quilla-process-bench-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) {
            std::abort();
        }
        const fs::path home(pattern);
        for (const auto& [variable, folder] : {std::pair{"XDG_CONFIG_HOME", ".config"},
                                               {"XDG_DATA_HOME", ".local/share"},
                                               {"XDG_CACHE_HOME", ".cache"},
                                               {"XDG_STATE_HOME", ".local/state"},
                                               {"XDG_RUNTIME_DIR", "runtime"}}) {
            fs::create_directories(home / folder);
            ::setenv(variable, (home / folder).c_str(), 1);
        }
        fs::permissions(home / "runtime", fs::perms::owner_all);
        ::setenv("HOME", home.c_str(), 1);
        // Results are not shown in the file manager: the tools beside Quilla open no window, and
        // starting one would time the file manager's activation instead of the action.
        quilla::AppPreferences preferences;
        preferences.revealActionResults = false;
        preferences.revealCreatedItems = false;
        quilla::AppPreferencesPersistence::save(preferences);
        return home;
    }();
    return made;
}

fs::path folder(const std::string& name) {
    const auto path = root() / name;
    fs::create_directories(path);
    return path;
}

void removeAll(const fs::path& path) {
    std::error_code ignored;
    fs::remove_all(path, ignored);
}

void writeText(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// The files a Quilla run made, as it printed them one per line (only ever inside the bench's folder).
void removePrinted(const fs::path& output) {
    std::ifstream in(output);
    for (std::string line; std::getline(in, line);) {
        if (line.starts_with(root().string() + "/")) {
            removeAll(line);
        }
    }
}

ProcessCommand quillaPerform(const std::string& action, const std::vector<fs::path>& selected,
                             const fs::path& input = {}) {
    ProcessCommand command{{kQuilla, "perform", action}, input, root() / "quilla.out", root() / "quilla.err"};
    for (const auto& path : selected) {
        command.argv.insert(command.argv.end(), {"--selected", path.string()});
    }
    return command;
}

ProcessCommand tool(std::vector<std::string> argv) {
    return {std::move(argv), {}, {}, root() / "tool.err"};
}

// Quilla's outputs are removed after each run, so every run writes the same names.
PairSide quillaSide(ProcessCommand command) {
    return {std::move(command), [] {}, [] { removePrinted(root() / "quilla.out"); }};
}

/// Runs the pairs and reports them; skips the case when one of `tools` is missing.
void comparePaired(benchmark::State& state, const std::vector<std::string>& tools,
                   const std::function<std::pair<PairSide, PairSide>()>& sides, int defaultPairs = 9) {
    for (const auto& name : tools) {
        if (!onPath(name)) {
            state.SkipWithError((name + " is not installed").c_str());
            return;
        }
    }
    const auto [quilla, anchor] = sides();
    PairedMedians medians;
    for (auto _ : state) {
        try {
            medians = runPairs(quilla, anchor, setting("QUILLA_BENCH_PAIRS", defaultPairs));
        } catch (const std::exception& error) {
            state.SkipWithError(error.what());
            return;
        }
        state.SetIterationTime(medians.first.wallSeconds);
    }
    state.counters["ratio_wall"] = medians.wallRatio;
    state.counters["ratio_cpu"] = medians.cpuRatio;
    state.counters["quilla_wall_ms"] = medians.first.wallSeconds * 1000;
    state.counters["quilla_cpu_ms"] = medians.first.cpuSeconds * 1000;
    state.counters["tool_wall_ms"] = medians.second.wallSeconds * 1000;
    state.counters["tool_cpu_ms"] = medians.second.cpuSeconds * 1000;
}

// ---- inputs

const fs::path& bigFile() {
    static const fs::path file = [] {
        const auto path = folder("hash") / "big.bin";
        std::vector<char> block(1 << 20);
        std::mt19937_64 random(17);
        std::ofstream out(path, std::ios::binary);
        for (int mebibyte = 0; mebibyte < setting("QUILLA_BENCH_BIG_MIB", 1024); ++mebibyte) {
            for (auto& byte : block) {
                byte = static_cast<char>(random() >> 56);
            }
            out.write(block.data(), static_cast<std::streamsize>(block.size()));
        }
        return path;
    }();
    return file;
}

const fs::path& tinyFile() {
    static const fs::path file = [] {
        const auto path = folder("hash") / "tiny.txt";
        writeText(path, "hello\n");
        return path;
    }();
    return file;
}

// 1,000 small text files in 10 folders, zipped by bsdtar.
const fs::path& thousandFileZIP() {
    static const fs::path archive = [] {
        const auto source = folder("zip-source");
        for (int i = 0; i < 1000; ++i) {
            const auto sub = source / "tree" / ("part" + std::to_string(i / 100));
            fs::create_directories(sub);
            writeText(sub / ("file" + std::to_string(i) + ".txt"),
                      std::string(static_cast<std::size_t>(200 + (i * 37) % 4000),
                                  static_cast<char>('a' + i % 26)));
        }
        const auto path = folder("zip") / "files.zip";
        runProcess(tool({"bsdtar", "--format", "zip", "-cf", path.string(), "-C", source.string(), "tree"}));
        return path;
    }();
    return archive;
}

// A text document of `pages` pages, 40 lines each, one shared font.
void writeDocument(const fs::path& path, int pages, int number) {
    QPDF pdf;
    pdf.emptyPDF();
    const auto font = pdf.makeIndirectObject(
        QPDFObjectHandle::parse("<< /Type /Font /Subtype /Type1 /BaseFont /Times-Roman >>"));
    QPDFPageDocumentHelper document(pdf);
    for (int page = 1; page <= pages; ++page) {
        std::string text = "BT /F1 11 Tf 14 TL 56 790 Td\n";
        for (int line = 0; line < 40; ++line) {
            text += "(Report " + std::to_string(number) + " page " + std::to_string(page) +
                    ": pack my box with five dozen liquor jugs.) '\n";
        }
        text += "ET\n";
        auto dictionary = QPDFObjectHandle::parse("<< /Type /Page /MediaBox [0 0 595 842] >>");
        auto resources = QPDFObjectHandle::parse("<< /Font << >> >>");
        resources.getKey("/Font").replaceKey("/F1", font);
        dictionary.replaceKey("/Resources", resources);
        dictionary.replaceKey("/Contents", pdf.newStream(text));
        document.addPage(QPDFPageObjectHelper(pdf.makeIndirectObject(dictionary)), false);
    }
    QPDFWriter(pdf, path.c_str()).write();
}

const std::vector<fs::path>& fiftyDocuments() {
    static const auto documents = [] {
        std::vector<fs::path> made;
        const auto dir = folder("pdf");
        for (int i = 0; i < 50; ++i) {
            made.push_back(dir / ("report" + std::to_string(i) + ".pdf"));
            writeDocument(made.back(), 20, i);
        }
        return made;
    }();
    return documents;
}

// A 24-megapixel photograph-like JPEG: a soft colour ramp under grain.
const fs::path& photo() {
    static const fs::path file = [] {
        if (VIPS_INIT("process_bench") != 0) {
            std::abort();
        }
        // libvips puts VIPSHOME into this process's environment when it starts; the commands timed
        // here must see the environment a user's would.
        ::unsetenv("VIPSHOME");
        constexpr int width = 6000, height = 4000;
        const auto path = folder("photo") / "photo.jpg";
        const vips::VImage ramp = vips::VImage::xyz(width, height)[0] * (160.0 / width) + 40;
        const vips::VImage grain =
            vips::VImage::gaussnoise(width, height, vips::VImage::option()->set("sigma", 12.0));
        const vips::VImage grey = ramp + grain - 128;
        grey.bandjoin({grey * 0.85, grey * 0.6})
            .cast(VIPS_FORMAT_UCHAR)
            .copy(vips::VImage::option()->set("interpretation", VIPS_INTERPRETATION_sRGB))
            .jpegsave(path.c_str(), vips::VImage::option()->set("Q", 90));
        return path;
    }();
    return file;
}

// ---- quilla perform against the tools

void BM_SHA256BigFile(benchmark::State& state) {
    comparePaired(
        state, {"openssl"},
        [] {
            return std::pair{quillaSide(quillaPerform("copySHA256", {bigFile()})),
                             PairSide{tool({"openssl", "dgst", "-sha256", bigFile().string()})}};
        },
        5);
}

void BM_SHA256TinyFile(benchmark::State& state) {
    comparePaired(
        state, {"openssl"},
        [] {
            return std::pair{quillaSide(quillaPerform("copySHA256", {tinyFile()})),
                             PairSide{tool({"openssl", "dgst", "-sha256", tinyFile().string()})}};
        },
        21);
}

void BM_ExtractZIP1000Files(benchmark::State& state) {
    comparePaired(state, {"bsdtar"}, [] {
        const auto out = root() / "zip-out";
        return std::pair{quillaSide(quillaPerform("extractZIPToFolder", {thousandFileZIP()})),
                         PairSide{tool({"bsdtar", "-xf", thousandFileZIP().string(), "-C", out.string()}),
                                  [out] { fs::create_directories(out); }, [out] { removeAll(out); }}};
    });
}

std::vector<std::string> withDocuments(std::vector<std::string> before,
                                       const std::vector<std::string>& after) {
    for (const auto& document : fiftyDocuments()) {
        before.push_back(document.string());
    }
    before.insert(before.end(), after.begin(), after.end());
    return before;
}

void BM_Merge50PDFsVsQPDF(benchmark::State& state) {
    comparePaired(state, {"qpdf"}, [] {
        const auto out = root() / "merged.pdf";
        return std::pair{quillaSide(quillaPerform("mergePDFs", fiftyDocuments())),
                         PairSide{tool(withDocuments({"qpdf", "--empty", "--pages"}, {"--", out.string()})),
                                  [] {}, [out] { removeAll(out); }}};
    });
}

void BM_Merge50PDFsVsPdfunite(benchmark::State& state) {
    comparePaired(state, {"pdfunite"}, [] {
        const auto out = root() / "merged.pdf";
        return std::pair{
            quillaSide(quillaPerform("mergePDFs", fiftyDocuments())),
            PairSide{tool(withDocuments({"pdfunite"}, {out.string()})), [] {}, [out] { removeAll(out); }}};
    });
}

void BM_JPEGQuality70(benchmark::State& state) {
    comparePaired(state, {"vips"}, [] {
        const auto out = root() / "quality70.jpg";
        return std::pair{quillaSide(quillaPerform("compressJPEG", {photo()})),
                         PairSide{tool({"vips", "copy", photo().string(), out.string() + "[Q=70]"}), [] {},
                                  [out] { removeAll(out); }}};
    });
}

// Quilla resizes in place, so each of its runs starts from a fresh copy of the photo. The tool
// writes at the JPEG quality Quilla uses for resized photos (90; its own default is 75).
void BM_ExactResize1024x768(benchmark::State& state) {
    comparePaired(state, {"vips"}, [] {
        const auto work = folder("resize") / "photo.jpg";
        const auto answers = root() / "resize-answers.txt";
        writeText(answers, "1024\n768\n");
        const auto out = root() / "thumbnail.jpg";
        return std::pair{
            PairSide{quillaPerform("resizeImages", {work}, answers),
                     [work] { fs::copy_file(photo(), work, fs::copy_options::overwrite_existing); },
                     [work] { removeAll(work); }},
            PairSide{tool({"vips", "thumbnail", photo().string(), out.string() + "[Q=90]", "1024", "--height",
                           "768", "--size", "force"}),
                     [] {}, [out] { removeAll(out); }}};
    });
}

BENCHMARK(BM_SHA256TinyFile)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SHA256BigFile)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExtractZIP1000Files)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Merge50PDFsVsQPDF)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Merge50PDFsVsPdfunite)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JPEGQuality70)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExactResize1024x768)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

// ---- cold click

/// Watches a folder for a name to appear (created or renamed into place).
class ArrivalWatch final {
public:
    explicit ArrivalWatch(const fs::path& dir) : fd_(::inotify_init1(IN_CLOEXEC)) {
        ::inotify_add_watch(fd_, dir.c_str(), IN_CREATE | IN_MOVED_TO | IN_CLOSE_WRITE);
    }
    ~ArrivalWatch() { ::close(fd_); }
    ArrivalWatch(const ArrivalWatch&) = delete;
    ArrivalWatch& operator=(const ArrivalWatch&) = delete;

    /// Waits until `path` exists; false after `timeout`.
    bool wait(const fs::path& path, std::chrono::milliseconds timeout) {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (!fs::exists(path)) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            pollfd ready{fd_, POLLIN, 0};
            if (left.count() <= 0 || ::poll(&ready, 1, static_cast<int>(left.count())) <= 0) {
                return fs::exists(path);
            }
            alignas(inotify_event) char events[4096];
            (void)::read(fd_, events, sizeof events);
        }
        return true;
    }

private:
    int fd_;
};

struct ColdStart {
    double toEffectSeconds = 0;
    double cpuSeconds = 0; // the whole run, up to the stop after the effect
};

ColdStart coldStart(const std::string& executable, const fs::path& original, const fs::path& copy) {
    quilla::QuillaActionQueue::enqueue({.actionID = "copyBesideOriginal",
                                        .title = "复制副本",
                                        .selectedPaths = {original.string()},
                                        .targetedPath = std::nullopt,
                                        .destinationPath = "",
                                        .presetID = ""});
    ArrivalWatch watch(original.parent_path());
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = startProcess({{executable, "--login-item"}, {}, {}, root() / "app.err"});
    const bool arrived = watch.wait(copy, std::chrono::seconds(20));
    const std::chrono::duration<double> toEffect = std::chrono::steady_clock::now() - start;
    ::kill(pid, SIGTERM);
    int status = 0;
    const double cpu = reapProcess(pid, status);
    if (!arrived) {
        throw std::runtime_error("the queued action had no effect within 20 s");
    }
    removeAll(copy);
    return {toEffect.count(), cpu};
}

void BM_ColdClickToEffect(benchmark::State& state) {
    if (!std::getenv("DBUS_SESSION_BUS_ADDRESS")) {
        state.SkipWithError("no session bus: run under dbus-run-session");
        return;
    }
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    const auto original = folder("click") / "note.txt";
    const auto copy = folder("click") / "note copy.txt";
    writeText(original, "a note\n");
    // With a baseline build named, its starts alternate with this build's: a before/after pair.
    const char* baseline = std::getenv("QUILLA_BENCH_BASELINE");
    std::vector<double> walls, cpus, baselineWalls, ratios;
    for (auto _ : state) {
        try {
            coldStart(kQuilla, original, copy); // warm-up: libraries into the page cache
            if (baseline && *baseline) {
                coldStart(baseline, original, copy);
            }
            for (int run = 0; run < setting("QUILLA_BENCH_STARTS", 9); ++run) {
                const auto times = coldStart(kQuilla, original, copy);
                walls.push_back(times.toEffectSeconds);
                cpus.push_back(times.cpuSeconds);
                if (baseline && *baseline) {
                    baselineWalls.push_back(coldStart(baseline, original, copy).toEffectSeconds);
                    ratios.push_back(walls.back() / baselineWalls.back());
                }
            }
        } catch (const std::exception& error) {
            state.SkipWithError(error.what());
            return;
        }
        state.SetIterationTime(median(walls));
    }
    state.counters["to_effect_ms"] = median(walls) * 1000;
    state.counters["fastest_ms"] = *std::min_element(walls.begin(), walls.end()) * 1000;
    state.counters["cpu_ms"] = median(cpus) * 1000;
    if (!ratios.empty()) {
        state.counters["baseline_to_effect_ms"] = median(baselineWalls) * 1000;
        state.counters["ratio_vs_baseline"] = median(ratios);
    }
}

BENCHMARK(BM_ColdClickToEffect)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    root();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (const char* keep = std::getenv("QUILLA_BENCH_KEEP"); keep && *keep) {
        std::printf("inputs kept in %s\n", root().c_str());
    } else {
        removeAll(root());
    }
    return 0;
}
