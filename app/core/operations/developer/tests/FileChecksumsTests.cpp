#include "app/core/executor/FinderActionExecutionError.h"
#include "app/core/executor/FinderActionExecutor.h"
#include "app/core/operations/developer/FileChecksums.h"
#include "app/core/tests/fakes/FakePlatform.h"
#include "tests/support/TempDir.h"
#include "app/core/tests/fakes/FailureText.h"

#include <gtest/gtest.h>

using namespace quilla;
using quilla::test::TempDir;
namespace fs = std::filesystem;

namespace {

using quilla::test::failureOf;

} // namespace

TEST(FileChecksums, KnownDigestsIncludingTheEmptyFileAndOneLongerThanABlock) {
    TempDir dir;
    const auto empty = dir.write("empty", "");
    const auto abc = dir.write("abc", "abc");
    EXPECT_EQ(FileChecksums::digest(empty, ChecksumAlgorithm::md5), "d41d8cd98f00b204e9800998ecf8427e");
    EXPECT_EQ(FileChecksums::digest(abc, ChecksumAlgorithm::md5), "900150983cd24fb0d6963f7d28e17f72");
    EXPECT_EQ(FileChecksums::digest(abc, ChecksumAlgorithm::sha256),
              "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    // A million "a" spans several read blocks; its SHA-256 is a published test vector.
    const auto million = dir.write("million", std::string(1'000'000, 'a'));
    EXPECT_EQ(FileChecksums::digest(million, ChecksumAlgorithm::sha256),
              "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
}

TEST(FileChecksums, ManyFilesKeepSelectionOrderAndTheFirstFailureInThatOrderWins) {
    TempDir dir;
    std::vector<fs::path> files;
    std::vector<std::string> expected;
    for (int i = 0; i < 24; ++i) {
        // Sizes vary so that the workers finish out of order.
        files.push_back(dir.write("f" + std::to_string(i), std::string(static_cast<std::size_t>((24 - i) * 40'000), 'x')));
        expected.push_back(FileChecksums::digest(files.back(), ChecksumAlgorithm::md5) + "  f" + std::to_string(i));
    }
    EXPECT_EQ(FileChecksums::lines(files, ChecksumAlgorithm::md5), expected);

    fs::create_directory(dir / "folder");
    const std::vector<fs::path> mixed{files[0], dir / "folder", files[1], dir / "missing"};
    EXPECT_EQ(failureOf([&] { FileChecksums::lines(mixed, ChecksumAlgorithm::sha256); }),
              "这是一个文件夹：" + (dir / "folder").string());
}

TEST(FileChecksums, ActionsPutOneLinePerFileOnTheClipboard) {
    TempDir dir;
    quilla::test::FakePlatform platform;
    const FinderActionExecutor executor(platform.context());
    const auto empty = dir.write("empty.txt", "");
    executor.perform({.actionID = "copyMD5", .selectedPaths = {empty}});
    EXPECT_EQ(platform.pasteboard.text, "d41d8cd98f00b204e9800998ecf8427e  empty.txt");

    const std::vector<fs::path> three{dir.write("1", "1"), dir.write("2", "2"), dir.write("3", "3")};
    executor.perform({.actionID = "copySHA256", .selectedPaths = three});
    const auto text = *platform.pasteboard.text;
    EXPECT_EQ(text.size(), 3 * (64 + 2 + 1) + 2); // digest, two spaces, one-letter name; two line feeds
    EXPECT_TRUE(text.starts_with("6b86b273ff34fce19d6b804eff5a3f5747ada4eaa22f1d49c01e52ddb7875b4b  1\n"));
    EXPECT_EQ(failureOf([&] { executor.perform({.actionID = "copySHA256", .selectedPaths = {}}); }),
              "请先在 Finder 中选择文件。");
    platform.pasteboard.refuses = true;
    EXPECT_EQ(failureOf([&] { executor.perform({.actionID = "copyMD5", .selectedPaths = {empty}}); }), "写入剪贴板失败。");
}
