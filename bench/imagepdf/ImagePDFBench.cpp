// Times the image and PDF tools against the standard tools in one run: ImageMagick's convert and
// the vips command for images, the qpdf command and poppler's pdfunite / pdfseparate for PDFs.
// Each case alternates ours and the tools' runs (same cache, same load) and reports the medians
// and the ratios ours / theirs as counters. Peak memory of one 24-megapixel conversion and resize
// is read by GNU time from child processes (ours runs in a child of this program as well).
// Inputs are generated in a temporary folder and removed at the end.
//
//   imagepdf_bench [--benchmark_filter=REGEX] [--benchmark_repetitions=1]
//   QUILLA_BENCH_PHOTOS  24-megapixel JPEG photos per batch (default 3)
//   QUILLA_BENCH_PNGS    6-megapixel PNGs per batch (default 5)
//   QUILLA_BENCH_PDFS    20-page PDFs to merge (default 50)
//   QUILLA_BENCH_ROUNDS  timed rounds per contender (default 3)

#include "app/core/operations/imagepdf/ImageTools.h"
#include "app/core/operations/imagepdf/PDFTools.h"
#include "app/core/operations/imagepdf/VipsRuntime.h"
#include "app/core/tests/fakes/FakePlatform.h"

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFWriter.hh>
#include <vips/vips8>

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <functional>
#include <spawn.h>
#include <stdexcept>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace fs = std::filesystem;
using namespace quilla;
using vips::VImage;

namespace {

constexpr int kPhotoWidth = 6000, kPhotoHeight = 4000; // 24 megapixels
constexpr int kPNGWidth = 3000, kPNGHeight = 2000;     // 6 megapixels

int setting(const char* name, int fallback) {
    const char* value = std::getenv(name);
    return value && *value ? std::max(1, std::atoi(value)) : fallback;
}

fs::path benchRoot() {
    static const fs::path root = [] {
        const char* base = std::getenv("TMPDIR");
        std::string pattern = std::string(base && *base ? base : "/var/tmp") + "/quilla-imagepdf-bench-XXXXXX";
        if (!::mkdtemp(pattern.data())) std::abort();
        return fs::path(pattern);
    }();
    return root;
}

fs::path folder(const std::string& name) {
    const auto path = benchRoot() / name;
    fs::create_directories(path);
    return path;
}

void clean(const fs::path& path) {
    std::error_code ignored;
    fs::remove_all(path, ignored);
}

// A photograph-like image: smooth gradients under sensor-like noise (compresses as photos do).
VImage photoLike(int width, int height, int seed) {
    const VImage xy = VImage::xyz(width, height);
    const VImage red = xy[0] * (255.0 / width);
    const VImage green = xy[1] * (255.0 / height);
    const VImage blue = (xy[0] + xy[1]) * (255.0 / (width + height));
    const VImage noise = VImage::gaussnoise(width, height, VImage::option()->set("sigma", 10.0)->set("seed", seed)) - 128;
    return (red.bandjoin({green, blue}) + noise).cast(VIPS_FORMAT_UCHAR).copy(
        VImage::option()->set("interpretation", VIPS_INTERPRETATION_sRGB));
}

std::vector<fs::path> makeImages(const std::string& name, int count, int width, int height, const char* suffix) {
    VipsRuntime::ensureStarted();
    const auto dir = folder(name);
    std::vector<fs::path> files;
    for (int i = 0; i < count; ++i) {
        const auto file = dir / ("image" + std::to_string(i) + suffix);
        photoLike(width, height, i + 1).write_to_file(file.c_str());
        files.push_back(file);
    }
    return files;
}

const std::vector<fs::path>& photos() {
    static const auto files = makeImages("photos", setting("QUILLA_BENCH_PHOTOS", 3), kPhotoWidth, kPhotoHeight, ".jpg[Q=90]");
    return files;
}

const std::vector<fs::path>& pngs() {
    static const auto files = makeImages("pngs", setting("QUILLA_BENCH_PNGS", 5), kPNGWidth, kPNGHeight, ".png");
    return files;
}

std::vector<fs::path> withoutOptions(std::vector<fs::path> files) {
    for (auto& file : files) {
        auto text = file.string();
        file = text.substr(0, text.find('['));
    }
    return files;
}

// A text document: every page carries 40 lines of text in one shared font.
void writeDocument(const fs::path& path, int pages, int seed) {
    QPDF pdf;
    pdf.emptyPDF();
    auto font = pdf.makeIndirectObject(QPDFObjectHandle::parse("<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>"));
    QPDFPageDocumentHelper helper(pdf);
    for (int page = 0; page < pages; ++page) {
        std::string content;
        for (int line = 0; line < 40; ++line) {
            content += "BT /F1 10 Tf 50 " + std::to_string(780 - line * 18) + " Td (Document " + std::to_string(seed) +
                       ", page " + std::to_string(page + 1) + ", line " + std::to_string(line) +
                       ": the quick brown fox jumps over the lazy dog.) Tj ET\n";
        }
        auto dict = QPDFObjectHandle::parse("<< /Type /Page /MediaBox [0 0 595 842] /Resources << /Font << >> >> >>");
        dict.getKey("/Resources").getKey("/Font").replaceKey("/F1", font);
        dict.replaceKey("/Contents", pdf.newStream(content));
        helper.addPage(QPDFPageObjectHelper(pdf.makeIndirectObject(dict)), false);
    }
    QPDFWriter writer(pdf, path.c_str());
    writer.write();
}

const std::vector<fs::path>& shortDocuments() {
    static const auto files = [] {
        const auto dir = folder("documents");
        std::vector<fs::path> made;
        for (int i = 0; i < setting("QUILLA_BENCH_PDFS", 50); ++i) {
            made.push_back(dir / ("document" + std::to_string(i) + ".pdf"));
            writeDocument(made.back(), 20, i);
        }
        return made;
    }();
    return files;
}

const fs::path& longDocument() {
    static const fs::path file = [] {
        const auto path = folder("long") / "long.pdf";
        writeDocument(path, 500, 0);
        return path;
    }();
    return file;
}

// Runs a program directly with its output discarded; its wall time.
double child(const std::string& program, const std::vector<std::string>& arguments) {
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const auto& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ) != 0) std::abort();
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        throw std::runtime_error(program + " failed with status " + std::to_string(status));
    }
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Peak resident memory of one run in MB, as GNU time reads it. A child's peak counted by this
// process itself would start at this process's own size (Linux carries it across exec), so the
// small `time` program starts the measured one.
double peakMB(const std::string& program, const std::vector<std::string>& arguments) {
    const auto report = benchRoot() / "peak.txt";
    std::vector<std::string> timed{"-f", "%M", "-o", report.string(), program};
    timed.insert(timed.end(), arguments.begin(), arguments.end());
    child("/usr/bin/time", timed);
    std::ifstream in(report);
    double kilobytes = 0;
    in >> kilobytes;
    return kilobytes / 1024;
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

struct Contender {
    std::string name;
    std::function<void()> run;
    std::function<void()> cleanUp;
};

/// Runs every contender the configured number of rounds, alternating, after one untimed warm-up
/// each; reports ours (the first) as the benchmark time, every median and ratio as counters. A
/// tool that fails (ImageMagick refuses work beyond its policy's resource limits) is reported as
/// "<name>_failed" and left out.
void compare(benchmark::State& state, std::vector<Contender> contenders) {
    const int rounds = setting("QUILLA_BENCH_ROUNDS", 3);
    std::vector<std::vector<double>> times(contenders.size());
    std::vector<bool> failed(contenders.size(), false);
    const auto attempt = [&](std::size_t i, bool timed) {
        if (failed[i]) return;
        try {
            const double elapsed = seconds(contenders[i].run);
            if (timed) times[i].push_back(elapsed);
        } catch (const std::runtime_error& error) {
            if (i == 0) throw;
            std::fprintf(stderr, "%s\n", error.what());
            failed[i] = true;
        }
        contenders[i].cleanUp();
    };
    for (std::size_t i = 0; i < contenders.size(); ++i) attempt(i, false);
    for (int round = 0; round < rounds; ++round) {
        for (std::size_t i = 0; i < contenders.size(); ++i) attempt(i, true);
    }
    for (auto _ : state) state.SetIterationTime(median(times[0]));
    const double ours = median(times[0]);
    state.counters[contenders[0].name + "_s"] = ours;
    for (std::size_t i = 1; i < contenders.size(); ++i) {
        if (failed[i]) {
            state.counters[contenders[i].name + "_failed"] = 1;
            continue;
        }
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

ExecutorContext context() {
    return platform().context();
}

void removeAll(const std::vector<fs::path>& files) {
    for (const auto& file : files) clean(file);
}

// One tool run per input file, writing into `out` under the input's stem and `suffix`.
std::function<void()> perFile(const std::string& program, const std::vector<fs::path>& inputs, const fs::path& out,
                              const std::function<std::vector<std::string>(const fs::path&, const fs::path&)>& arguments,
                              const std::string& suffix) {
    return [=] {
        fs::create_directories(out);
        for (const auto& input : inputs) {
            child(program, arguments(input, out / (input.stem().string() + suffix)));
        }
    };
}

const std::string kConvert = "/usr/bin/convert";
const std::string kVips = "/usr/bin/vips";

void BM_JPEGToPNG(benchmark::State& state) {
    const auto inputs = withoutOptions(photos());
    const auto out = benchRoot() / "out";
    std::vector<fs::path> ours;
    compare(state, {{"quilla", [&] { ours = ImageTools::convertImages(context(), inputs, {"png", "png", 90}); },
                     [&] { removeAll(ours); }},
                    {"convert", perFile(kConvert, inputs, out, [](auto& i, auto& o) {
                         return std::vector<std::string>{i.string(), o.string()};
                     }, ".png"), [&] { clean(out); }},
                    {"vips", perFile(kVips, inputs, out, [](auto& i, auto& o) {
                         return std::vector<std::string>{"copy", i.string(), o.string()};
                     }, ".png"), [&] { clean(out); }}});
}

void BM_JPEGQuality70(benchmark::State& state) {
    const auto inputs = withoutOptions(photos());
    const auto out = benchRoot() / "out";
    std::vector<fs::path> ours;
    compare(state, {{"quilla", [&] { ours = ImageTools::convertImages(context(), inputs, {"jpeg", "jpg", 70}); },
                     [&] { removeAll(ours); }},
                    {"convert", perFile(kConvert, inputs, out, [](auto& i, auto& o) {
                         return std::vector<std::string>{i.string(), "-quality", "70", o.string()};
                     }, ".jpg"), [&] { clean(out); }},
                    {"vips", perFile(kVips, inputs, out, [](auto& i, auto& o) {
                         return std::vector<std::string>{"copy", i.string(), o.string() + "[Q=70]"};
                     }, ".jpg"), [&] { clean(out); }}});
}

void BM_ResizeTo1024x768(benchmark::State& state) {
    const auto inputs = withoutOptions(photos());
    const auto work = benchRoot() / "resize";
    const auto out = benchRoot() / "out";
    std::vector<fs::path> copies;
    const auto refresh = [&] {
        clean(work);
        fs::create_directories(work);
        copies.clear();
        for (const auto& input : inputs) {
            copies.push_back(work / input.filename());
            fs::copy_file(input, copies.back());
        }
    };
    refresh();
    const double hscale = 1024.0 / kPhotoWidth, vscale = 768.0 / kPhotoHeight;
    compare(state, {{"quilla", [&] {
                         platform().prompts.pairs.emplace_back(std::pair<std::string, std::string>{"1024", "768"});
                         ImageTools::resizeImages(context(), copies);
                     }, refresh},
                    {"convert", perFile(kConvert, inputs, out, [](auto& i, auto& o) {
                         return std::vector<std::string>{i.string(), "-resize", "1024x768!", o.string()};
                     }, ".jpg"), [&] { clean(out); }},
                    {"vips_resize", perFile(kVips, inputs, out, [=](auto& i, auto& o) {
                         return std::vector<std::string>{"resize", i.string(), o.string(), std::to_string(hscale),
                                                         "--vscale", std::to_string(vscale)};
                     }, ".jpg"), [&] { clean(out); }},
                    {"vips_thumbnail", perFile(kVips, inputs, out, [](auto& i, auto& o) {
                         return std::vector<std::string>{"thumbnail", i.string(), o.string(), "1024", "--height", "768",
                                                         "--size", "force"};
                     }, ".jpg"), [&] { clean(out); }}});
    clean(work);
}

void BM_StripMetadata(benchmark::State& state) {
    const auto inputs = withoutOptions(photos());
    const auto out = benchRoot() / "out";
    std::vector<fs::path> ours;
    compare(state, {{"quilla", [&] {
                         ours.clear();
                         for (const auto& input : inputs) ours.push_back(ImageTools::stripImageMetadata(context(), input));
                     }, [&] { removeAll(ours); }},
                    {"convert", perFile(kConvert, inputs, out, [](auto& i, auto& o) {
                         return std::vector<std::string>{i.string(), "-strip", o.string()};
                     }, ".jpg"), [&] { clean(out); }},
                    {"vips", perFile(kVips, inputs, out, [](auto& i, auto& o) {
                         return std::vector<std::string>{"copy", i.string(), o.string() + "[strip]"};
                     }, ".jpg"), [&] { clean(out); }}});
}

void BM_PNGToJPEG(benchmark::State& state) {
    const auto& inputs = pngs();
    const auto out = benchRoot() / "out";
    std::vector<fs::path> ours;
    compare(state, {{"quilla", [&] { ours = ImageTools::convertImages(context(), inputs, {"jpeg", "jpg", 90}); },
                     [&] { removeAll(ours); }},
                    {"convert", perFile(kConvert, inputs, out, [](auto& i, auto& o) {
                         return std::vector<std::string>{i.string(), "-quality", "90", o.string()};
                     }, ".jpg"), [&] { clean(out); }},
                    {"vips", perFile(kVips, inputs, out, [](auto& i, auto& o) {
                         return std::vector<std::string>{"copy", i.string(), o.string() + "[Q=90]"};
                     }, ".jpg"), [&] { clean(out); }}});
}

void BM_ImagesToPDF(benchmark::State& state) {
    const auto inputs = withoutOptions(photos());
    const auto out = benchRoot() / "out.pdf";
    fs::path ours;
    std::vector<std::string> convertArguments;
    for (const auto& input : inputs) convertArguments.push_back(input.string());
    // Debian's ImageMagick policy refuses the coder named "PDF"; its PDF/A writer is the same
    // PDF encoder under another name.
    convertArguments.push_back("PDFA:" + out.string());
    compare(state, {{"quilla", [&] { ours = PDFTools::imagesToPDF(context(), inputs); }, [&] { clean(ours); }},
                    {"convert", [&] { child(kConvert, convertArguments); }, [&] { clean(out); }}});
}

void BM_MergePDFs(benchmark::State& state) {
    const auto& inputs = shortDocuments();
    const auto out = benchRoot() / "merged.pdf";
    std::vector<std::string> qpdfArguments{"--empty", "--pages"}, unite;
    for (const auto& input : inputs) {
        qpdfArguments.push_back(input.string());
        unite.push_back(input.string());
    }
    qpdfArguments.insert(qpdfArguments.end(), {"--", out.string()});
    unite.push_back(out.string());
    fs::path ours;
    compare(state, {{"quilla", [&] { ours = PDFTools::mergePDFs(context(), inputs); }, [&] { clean(ours); }},
                    {"qpdf", [&] { child("/usr/bin/qpdf", qpdfArguments); }, [&] { clean(out); }},
                    {"pdfunite", [&] { child("/usr/bin/pdfunite", unite); }, [&] { clean(out); }}});
}

void BM_SplitPDF(benchmark::State& state) {
    const auto& input = longDocument();
    const auto out = benchRoot() / "pages";
    std::vector<fs::path> ours;
    compare(state, {{"quilla", [&] { ours = PDFTools::splitPDFs(context(), {input}); },
                     [&] { clean(input.parent_path() / "long Pages"); }},
                    {"qpdf", [&] {
                         fs::create_directories(out);
                         child("/usr/bin/qpdf", {"--split-pages", input.string(), (out / "page-%d.pdf").string()});
                     }, [&] { clean(out); }},
                    {"pdfseparate", [&] {
                         fs::create_directories(out);
                         child("/usr/bin/pdfseparate", {input.string(), (out / "page-%d.pdf").string()});
                     }, [&] { clean(out); }}});
    state.counters["pages"] = static_cast<double>(ours.size());
}

void BM_CompressPDF(benchmark::State& state) {
    const auto& input = longDocument();
    const auto out = benchRoot() / "compressed.pdf";
    std::vector<fs::path> ours;
    std::uintmax_t oursSize = 0, qpdfSize = 0;
    compare(state, {{"quilla", [&] { ours = PDFTools::compressPDFs(context(), {input}); },
                     [&] {
                         oursSize = fs::file_size(ours.front());
                         removeAll(ours);
                     }},
                    {"qpdf", [&] {
                         child("/usr/bin/qpdf", {"--object-streams=generate", "--recompress-flate",
                                                 "--compression-level=9", input.string(), out.string()});
                     }, [&] {
                         qpdfSize = fs::file_size(out);
                         clean(out);
                     }}});
    state.counters["input_kB"] = static_cast<double>(fs::file_size(input)) / 1000;
    state.counters["quilla_kB"] = static_cast<double>(oursSize) / 1000;
    state.counters["qpdf_kB"] = static_cast<double>(qpdfSize) / 1000;
}

// Peak memory of one 24-megapixel photo: ours in a child of this program, the tools as they are.
void peakCase(benchmark::State& state, const std::string& operation,
              const std::vector<std::pair<std::string, std::pair<std::string, std::vector<std::string>>>>& tools) {
    const auto photo = withoutOptions(photos()).front();
    const auto work = folder("peak");
    const auto copy = work / photo.filename();
    if (operation == "convert-turned") { // the same photo tagged with orientation 6
        auto turned = VImage::new_from_file(photo.c_str()).copy();
        turned.set(VIPS_META_ORIENTATION, 6);
        turned.write_to_file((copy.string() + "[Q=90]").c_str());
    } else {
        fs::copy_file(photo, copy, fs::copy_options::overwrite_existing);
    }
    const auto self = fs::read_symlink("/proc/self/exe").string();
    double elapsed = 0;
    double ours = 0;
    elapsed = seconds([&] { ours = peakMB(self, {"--peak-child", operation, copy.string()}); });
    for (auto _ : state) state.SetIterationTime(elapsed);
    state.counters["quilla_MB"] = ours;
    for (const auto& [name, command] : tools) {
        state.counters[name + "_MB"] = peakMB(command.first, command.second);
    }
    clean(work);
}

void BM_PeakMemoryConvert24MP(benchmark::State& state) {
    const auto photo = withoutOptions(photos()).front().string();
    const auto out = (benchRoot() / "peak.png").string();
    peakCase(state, "convert", {{"vips", {kVips, {"copy", photo, out}}}, {"convert", {kConvert, {photo, out}}}});
    clean(out);
}

void BM_PeakMemoryResize24MP(benchmark::State& state) {
    const auto photo = withoutOptions(photos()).front().string();
    const auto out = (benchRoot() / "peak.jpg").string();
    peakCase(state, "resize",
             {{"vips_thumbnail", {kVips, {"thumbnail", photo, out, "1024", "--height", "768", "--size", "force"}}},
              {"convert", {kConvert, {photo, "-resize", "1024x768!", out}}}});
    clean(out);
}

void BM_PeakMemoryConvertTurned24MP(benchmark::State& state) {
    peakCase(state, "convert-turned", {});
}

// The child side of the peak-memory cases: one operation on one photo, then exit.
int peakChild(const std::string& operation, const fs::path& photo) {
    if (operation == "resize") {
        platform().prompts.pairs.emplace_back(std::pair<std::string, std::string>{"1024", "768"});
        ImageTools::resizeImages(context(), {photo});
    } else {
        ImageTools::convertImages(context(), {photo}, {"png", "png", 90});
    }
    return 0;
}

} // namespace

BENCHMARK(BM_JPEGToPNG)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JPEGQuality70)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ResizeTo1024x768)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StripMetadata)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PNGToJPEG)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImagesToPDF)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MergePDFs)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SplitPDF)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CompressPDF)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PeakMemoryConvert24MP)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PeakMemoryResize24MP)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PeakMemoryConvertTurned24MP)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == "--peak-child") {
        return peakChild(argv[2], argv[3]);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    clean(benchRoot());
    return 0;
}
