#include "app/core/executor/CommandRunner.h"
#include "app/core/executor/FinderActionExecutionError.h"
#include "app/core/executor/FinderActionExecutor.h"
#include "app/core/operations/rename/ArchiveOperations.h"
#include "app/core/operations/rename/ZipArchiveWriter.h"
#include "app/core/operations/rename/ZipExtractor.h"
#include "app/core/tests/fakes/FakePlatform.h"
#include "shared/QuillaPaths.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestEnv.h"
#include "app/core/tests/fakes/FailureText.h"

#include <csignal>
#include <gtest/gtest.h>
#include <random>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace quilla;
using quilla::test::readText;
using quilla::test::TempDir;
namespace fs = std::filesystem;
using Paths = std::vector<fs::path>;

namespace {

using quilla::test::failureOf;

std::string tool(const std::string& name, const std::vector<std::string>& arguments) {
    const auto result = CommandRunner::run("/usr/bin/" + name, arguments, {});
    EXPECT_EQ(result.exitStatus, 0) << name << ": " << result.standardError;
    return result.standardOutput;
}

std::string randomBytes(std::size_t size) {
    std::mt19937_64 generator(42);
    std::string bytes(size, '\0');
    for (auto& c : bytes) c = static_cast<char>(generator());
    return bytes;
}

std::vector<std::string> listing(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        names.push_back(entry.path().lexically_relative(folder).string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

/// Builds an archive with Python's zipfile, the way a hostile archive would be made.
void makeZip(const fs::path& archive, const std::string& body) {
    std::string out;
    ASSERT_EQ(test::runPython("import zipfile\nz = zipfile.ZipFile(r'" + archive.string() + "', 'w')\n" + body + "z.close()\n", &out), 0)
        << out;
}

const char* kSymlinkEntry = R"(
def link(z, name, target):
    info = zipfile.ZipInfo(name)
    info.create_system = 3
    info.external_attr = (0o120777 << 16)
    z.writestr(info, target)
)";

struct Archives : ::testing::Test {
    test::FakePlatform platform;
    ExecutorContext context = platform.context();
    FinderActionExecutor executor{context};
    TempDir dir;

    ActionResult perform(const std::string& id, Paths selected) {
        return executor.perform({.actionID = id, .selectedPaths = std::move(selected)});
    }
};

} // namespace

TEST_F(Archives, OneFolderBecomesNameZipWithRelativeEntries) {
    dir.write("Photos/a.txt", "alpha");
    dir.write("Photos/sub/照片 \"1\".txt", "beta");
    const auto result = perform("compressToZIP", {dir / "Photos"});
    ASSERT_EQ(result, Paths{dir / "Photos.zip"});
    EXPECT_EQ(tool("zipinfo", {"-1", result[0].string()}), "Photos/\nPhotos/a.txt\nPhotos/sub/\nPhotos/sub/照片 \"1\".txt\n");
    tool("unzip", {"-tq", result[0].string()});
    std::string out;
    ASSERT_EQ(test::runPython("import zipfile\nz = zipfile.ZipFile(r'" + result[0].string() +
                                  "')\nprint([(i.filename, i.flag_bits & 0x800 != 0) for i in z.infolist() if not i.is_dir()])\n"
                                  "print(z.read('Photos/sub/照片 \"1\".txt').decode())\n",
                              &out),
              0)
        << out;
    // Plain ASCII names need no flag; the others are marked as UTF-8.
    EXPECT_EQ(out, "[('Photos/a.txt', False), ('Photos/sub/照片 \"1\".txt', True)]\nbeta\n");
    EXPECT_EQ(platform.workspace.calls, (std::vector<std::string>{"open " + dir.path().string()}));
    const auto log = readText(paths::appActionLogPath());
    EXPECT_NE(log.find("compressed ZIP=" + result[0].string() +
                        " entries=[\"Photos/\", \"Photos/a.txt\", \"Photos/sub/\", \"Photos/sub/照片 \\\"1\\\".txt\"]"),
              std::string::npos)
        << log;
}

TEST_F(Archives, SeveralItemsMakeArchiveWithFreeEntryNames) {
    const auto a = dir.write("x/a.txt", "first");
    const auto otherA = dir.write("y/a.txt", "second");
    const auto report = dir.write("x/report.pdf", "pdf");
    dir.write("x/Archive.zip", "taken");
    EXPECT_EQ(perform("compressToZIP", {a, otherA}), Paths{dir / "x/Archive 2.zip"});
    EXPECT_EQ(tool("zipinfo", {"-1", (dir / "x/Archive 2.zip").string()}), "a.txt\na 2.txt\n");
    EXPECT_EQ(tool("unzip", {"-p", (dir / "x/Archive 2.zip").string(), "a 2.txt"}), "second");
    EXPECT_EQ(perform("compressToZIP", {report}), Paths{dir / "x/report.zip"});
    // No work folder or partial archive is left anywhere.
    for (const auto& entry : fs::directory_iterator(paths::tempDir())) {
        EXPECT_FALSE(entry.path().filename().string().starts_with("quilla-archive-")) << entry.path();
    }
    EXPECT_EQ(listing(dir / "x"), (std::vector<std::string>{"Archive 2.zip", "Archive.zip", "a.txt", "report.pdf", "report.zip"}));
}

TEST_F(Archives, IncompressibleDataIsStoredAndTextIsDeflated) {
    dir.write("mix/noise.bin", randomBytes(3 << 20));
    dir.write("mix/small-noise.bin", randomBytes(20000));
    dir.write("mix/text.txt", std::string(200000, 'a'));
    const auto archive = perform("compressToZIP", {dir / "mix"})[0];
    const auto info = tool("zipinfo", {archive.string()});
    const auto methodOf = [&info](const std::string& name) {
        const auto end = info.find(" " + name + "\n");
        const auto start = info.rfind('\n', end) + 1;
        return info.substr(start, end - start).find(" stor ") != std::string::npos ? "stored" : "deflated";
    };
    EXPECT_STREQ(methodOf("mix/noise.bin"), "stored") << info;
    EXPECT_STREQ(methodOf("mix/small-noise.bin"), "stored") << info;
    EXPECT_STREQ(methodOf("mix/text.txt"), "deflated") << info;
    tool("unzip", {"-tq", archive.string()});
    EXPECT_LT(fs::file_size(archive), (3u << 20) + 20000 + 10000);
}

TEST_F(Archives, LinksAreStoredAsLinksAndTheTargetItemIsUsedWhenNothingIsSelected) {
    dir.write("proj/file", "f");
    fs::create_symlink("file", dir / "proj/link");
    const auto archive = executor.perform({.actionID = "compressToZIP", .targetedPath = dir / "proj"});
    ASSERT_EQ(archive, Paths{dir / "proj.zip"});
    const auto extracted = perform("extractZIPToFolder", {archive[0]});
    ASSERT_EQ(extracted, Paths{dir / "proj 2"});
    EXPECT_EQ(fs::read_symlink(dir / "proj 2/proj/link"), "file");
    EXPECT_EQ(readText(dir / "proj 2/proj/file"), "f");
}

TEST_F(Archives, ExtractToFolderUsesFreeNamesAndHereReportsNewItems) {
    dir.write("src/data/one.txt", "1");
    dir.write("src/data/名字\n\"q\".txt", "名");
    dir.write("src/two.txt", "2");
    const auto archive = perform("compressToZIP", {dir / "src/data", dir / "src/two.txt"})[0];
    fs::create_directories(dir / "out");
    fs::rename(archive, dir / "out/data.ZIP");
    EXPECT_EQ(perform("extractZIPToFolder", {dir / "out/data.ZIP"}), Paths{dir / "out/data"});
    EXPECT_EQ(perform("extractZIPToFolder", {dir / "out/data.ZIP"}), Paths{dir / "out/data 2"});
    EXPECT_EQ(readText(dir / "out/data 2/data/one.txt"), "1");
    EXPECT_EQ(readText(dir / "out/data 2/data/名字\n\"q\".txt"), "名");
    fs::remove_all(dir / "out/data");
    EXPECT_EQ(perform("extractZIPHere", {dir / "out/data.ZIP"}), (Paths{dir / "out/data", dir / "out/two.txt"}));
    dir.write("out/two.txt", "changed");
    // Everything already there: the folder itself is the result, and same-named files are replaced.
    EXPECT_EQ(perform("extractZIPHere", {dir / "out/data.ZIP"}), Paths{dir / "out"});
    EXPECT_EQ(readText(dir / "out/two.txt"), "2");
    EXPECT_EQ(listing(dir / "out"),
              (std::vector<std::string>{"data", "data 2", "data 2/data", "data 2/data/one.txt", "data 2/data/名字\n\"q\".txt",
                                        "data 2/two.txt", "data.ZIP", "data/one.txt", "data/名字\n\"q\".txt", "two.txt"}));
}

TEST_F(Archives, NothingToExtractSaysWhatIsMissing) {
    const auto text = dir.write("a.txt", "");
    EXPECT_EQ(failureOf([&] { perform("extractZIPHere", {text}); }), "所选项目中没有 ZIP 压缩文件。");
    EXPECT_EQ(failureOf([&] { perform("extractZIPToFolder", {}); }), "请先在 Finder 中选择文件。");
}

TEST_F(Archives, HostileArchivesAreRefusedBeforeAnythingIsWritten) {
    struct Case {
        const char* name;
        std::string body;
        const char* refused;
    };
    const Case cases[] = {
        {"dotdot", "z.writestr('fine.txt', 'ok')\nz.writestr('../evil.txt', 'x')\n", "../evil.txt"},
        {"inner-dotdot", "z.writestr('fine.txt', 'ok')\nz.writestr('a/../../evil.txt', 'x')\n", "a/../../evil.txt"},
        {"absolute", "z.writestr('fine.txt', 'ok')\nz.writestr(zipfile.ZipInfo('/tmp/quilla-evil.txt'), 'x')\n",
         "/tmp/quilla-evil.txt"},
        {"link-out", std::string(kSymlinkEntry) + "z.writestr('fine.txt', 'ok')\nlink(z, 'escape', '..')\nz.writestr('escape/evil.txt', 'x')\n",
         "escape"},
        {"link-absolute", std::string(kSymlinkEntry) + "link(z, 'etc', '/etc')\n", "etc"},
        {"link-chain", std::string(kSymlinkEntry) + "link(z, 'd', '.')\nlink(z, 'e', 'd/d/d/..')\n", "e"},
        {"through-inner-link", std::string(kSymlinkEntry) + "link(z, 'in', 'sub')\nz.writestr('in/f.txt', 'x')\n", "in/f.txt"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto folder = dir / c.name;
        fs::create_directories(folder);
        makeZip(folder / "evil.zip", c.body);
        for (const auto* id : {"extractZIPHere", "extractZIPToFolder"}) {
            EXPECT_EQ(failureOf([&] { perform(id, {folder / "evil.zip"}); }), std::string("路径不可用：") + c.refused) << id;
        }
        EXPECT_EQ(listing(folder), std::vector<std::string>{"evil.zip"});
    }
    EXPECT_FALSE(fs::exists("/tmp/quilla-evil.txt"));
    EXPECT_FALSE(fs::exists(dir / "evil.txt"));
}

TEST_F(Archives, SafeLinksInsideTheArchiveAreKept) {
    makeZip(dir / "ok.zip", std::string(kSymlinkEntry) + "z.writestr('lib/libx.so.1', 'elf')\nlink(z, 'lib/libx.so', 'libx.so.1')\n"
                                                         "link(z, 'top', 'lib/../lib/libx.so.1')\n");
    EXPECT_EQ(perform("extractZIPToFolder", {dir / "ok.zip"}), Paths{dir / "ok"});
    EXPECT_EQ(readText(dir / "ok/lib/libx.so"), "elf");
    EXPECT_EQ(readText(dir / "ok/top"), "elf");
}

TEST_F(Archives, ADamagedArchiveLeavesNothingHalfWritten) {
    dir.write("src/a.txt", std::string(100000, 'a'));
    dir.write("src/b.bin", randomBytes(300000));
    const auto archive = perform("compressToZIP", {dir / "src/a.txt", dir / "src/b.bin"})[0];
    auto bytes = readText(archive);
    bytes[bytes.size() / 2] ^= 0x55; // inside the stored data of b.bin: its check sum fails
    fs::create_directories(dir / "out");
    dir.write("out/broken.zip", bytes);
    EXPECT_NE(failureOf([&] { perform("extractZIPHere", {dir / "out/broken.zip"}); }), "no failure");
    EXPECT_NE(failureOf([&] { perform("extractZIPToFolder", {dir / "out/broken.zip"}); }), "no failure");
    EXPECT_EQ(listing(dir / "out"), std::vector<std::string>{"broken.zip"});
}

TEST(ArchiveHelpers, NewChildrenAreSortedAndFallBackToTheFolder) {
    TempDir dir;
    dir.write("old", "");
    const auto before = archives::childPathSet(dir.path());
    EXPECT_EQ(archives::newChildren(dir.path(), before), Paths{dir.path()});
    dir.write(".hidden", "");
    dir.write("b", "");
    EXPECT_EQ(archives::newChildren(dir.path(), before), (Paths{dir / ".hidden", dir / "b"}));
    EXPECT_TRUE(archives::childPathSet(dir / "missing").empty());
    EXPECT_TRUE(archives::zipEntries(dir / "old").empty());
}

TEST(ArchiveHelpers, IncompressibleMeansHighEntropyAndBigEnough) {
    EXPECT_TRUE(ZipArchiveWriter::looksIncompressible(randomBytes(16384)));
    EXPECT_FALSE(ZipArchiveWriter::looksIncompressible(randomBytes(1000)));
    EXPECT_FALSE(ZipArchiveWriter::looksIncompressible(std::string(16384, 'q')));
    std::string text;
    while (text.size() < 16384) text += "the quick brown fox jumps over the lazy dog ";
    EXPECT_FALSE(ZipArchiveWriter::looksIncompressible(text));
}

TEST_F(Archives, ExtractingHereNeverWritesThroughALinkAlreadyThere) {
    fs::create_directories(dir / "outside");
    fs::create_directories(dir / "work");
    fs::create_directory_symlink(dir / "outside", dir / "work/link");
    makeZip(dir / "work/a.zip", "z.writestr('link/f.txt', 'x')\n");
    EXPECT_NE(failureOf([&] { perform("extractZIPHere", {dir / "work/a.zip"}); }), "no failure");
    EXPECT_TRUE(fs::is_empty(dir / "outside"));
    EXPECT_EQ(listing(dir / "work"), (std::vector<std::string>{"a.zip", "link"}));
}

TEST_F(Archives, NamesThatAreNotUTF8AreStoredAsTheirBytes) {
    const std::string odd = "caf\xe9";
    dir.write("d/" + odd + ".txt", "latin");
    dir.write("d/ok.txt", "ok");
    fs::create_symlink(odd + ".txt", dir / ("d/link " + odd));
    const auto archive = perform("compressToZIP", {dir / "d"});
    ASSERT_EQ(archive, Paths{dir / "d.zip"});
    tool("unzip", {"-tq", archive[0].string()});
    ASSERT_EQ(perform("extractZIPToFolder", archive), Paths{dir / "d 2"});
    EXPECT_EQ(readText(dir / ("d 2/d/" + odd + ".txt")), "latin");
    EXPECT_EQ(fs::read_symlink(dir / ("d 2/d/link " + odd)), odd + ".txt");
    EXPECT_EQ(readText(dir / "d 2/d/ok.txt"), "ok");
}

// On a small private disk: an archive declaring more than the free space is refused before
// anything is written; one whose declared size fits but whose files fill the disk anyway (each
// small file takes a whole block) fails on the first refused write and leaves nothing behind.
TEST_F(Archives, AFullDiskIsRefusedUpFrontOrFailsTheExtractionCleanly) {
    makeZip(dir / "zeros.zip", "z.writestr('big.bin', bytes(3 << 20), zipfile.ZIP_DEFLATED)\n");
    makeZip(dir / "many.zip", "for i in range(300): z.writestr('f/%03d.txt' % i, 'x' * 1000, zipfile.ZIP_DEFLATED)\n");
    ASSERT_LT(ZipExtractor::declaredSize(dir / "many.zip"), 400'000u);
    const auto disk = dir / "disk";
    fs::create_directory(disk);
    const auto result = test::inPrivateMount(
        disk,
        [&]() -> std::string {
            std::string report;
            for (const auto* archive : {"zeros.zip", "many.zip"}) {
                fs::copy_file(dir / archive, disk / archive);
                for (const auto* id : {"extractZIPHere", "extractZIPToFolder"}) {
                    report += failureOf([&] { perform(id, {disk / archive}); }) + "\n";
                }
                report += listing(disk) == std::vector<std::string>{archive} ? "" : "left behind\n";
                fs::remove(disk / archive);
            }
            return report;
        },
        "size=512k");
    if (!result)
        GTEST_SKIP() << "private mounts are not allowed here";
    const auto full = [&](const char* archive) { return "磁盘空间不足，无法解压：" + (disk / archive).string() + "\n"; };
    EXPECT_EQ(*result, full("zeros.zip") + full("zeros.zip") + full("many.zip") + full("many.zip"));
}

// A write that fails half-way (here past the file size limit, as on a full disk) must fail the
// extraction and take back what it wrote, never leave a file whose tail is zeros.
TEST_F(Archives, AFailedWriteFailsTheExtractionAndRemovesWhatItWrote) {
    fs::create_directory(dir / "out");
    makeZip(dir / "out/data.zip",
            "z.writestr('small.txt', 'ok')\nz.writestr('big.bin', bytes(range(256)) * 8192)\n");
    const auto text = test::textFromChildProcess([&] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{1 << 20, 1 << 20};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        std::string report;
        for (const auto* id : {"extractZIPHere", "extractZIPToFolder"}) {
            report += failureOf([&] { perform(id, {dir / "out/data.zip"}); }) + "\n";
        }
        return report;
    });
    const auto failure = "无法解压：" + (dir / "out/data.zip").string() + "（文件太大：big.bin）\n";
    EXPECT_EQ(text, failure + failure);
    EXPECT_EQ(listing(dir / "out"), std::vector<std::string>{"data.zip"});
}

TEST_F(Archives, CompressingOntoAFullDiskFailsNamingTheArchiveAndLeavesNothing) {
    const auto disk = dir / "disk";
    fs::create_directory(disk);
    const auto result = test::inPrivateMount(
        disk,
        [&]() -> std::string {
            std::mt19937 random(7);
            std::string noise(1 << 20, '\0');
            for (auto& c : noise)
                c = static_cast<char>(random());
            const auto source = dir.write("disk/noise.bin", noise);
            const auto failure = failureOf([&] { perform("compressToZIP", {source}); });
            return failure + (listing(disk) == std::vector<std::string>{"noise.bin"} ? "" : " left behind");
        },
        "size=1536k");
    if (!result)
        GTEST_SKIP() << "private mounts are not allowed here";
    EXPECT_EQ(*result, "磁盘空间不足：" + (disk / "noise.zip").string());
}

TEST_F(Archives, APipeNamedLikeAnArchiveIsNeverRead) {
    ASSERT_EQ(::mkfifo((dir / "p.zip").c_str(), 0600), 0);
    for (const auto* id : {"extractZIPHere", "extractZIPToFolder"}) {
        EXPECT_EQ(failureOf([&] { perform(id, {dir / "p.zip"}); }), "不是普通文件：" + (dir / "p.zip").string()) << id;
    }
}

TEST_F(Archives, LibraryComplaintsBecomeSentencesNamingTheFile) {
    const auto notZip = dir.write("fake.zip", "plain text, not an archive");
    const auto missing = dir / "gone/missing.zip";
    EXPECT_EQ(failureOf([&] { perform("extractZIPHere", {notZip}); }),
              "压缩文件已损坏或不是 ZIP 格式：" + notZip.string());
    EXPECT_EQ(failureOf([&] { perform("extractZIPToFolder", {missing}); }),
              "文件或文件夹不存在：" + missing.string());
}
