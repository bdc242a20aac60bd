#include "app/core/executor/FinderActionExecutionError.h"
#include "app/core/executor/FinderActionExecutor.h"
#include "app/core/operations/rename/BatchRename.h"
#include "app/core/operations/rename/FileNameCollation.h"
#include "app/core/tests/fakes/FakePlatform.h"
#include "tests/support/TempDir.h"
#include "app/core/tests/fakes/FailureText.h"

#include <gtest/gtest.h>

using namespace quilla;
using namespace quilla::rename;
using quilla::test::readText;
using quilla::test::TempDir;
namespace fs = std::filesystem;
using Paths = std::vector<fs::path>;

namespace {

using quilla::test::failureOf;

std::vector<std::string> namesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

struct Rename : ::testing::Test {
    test::FakePlatform platform;
    ExecutorContext context = platform.context();
    FinderActionExecutor executor{context};
    TempDir dir;

    ActionResult perform(const std::string& id, const std::vector<std::string>& names) {
        Paths selected;
        for (const auto& name : names) selected.push_back(fs::exists(dir / name) ? dir / name : dir.write(name, name));
        return executor.perform({.actionID = id, .selectedPaths = selected});
    }
};

} // namespace

TEST(RenameRules, EveryModeChangesOnlyTheBase) {
    struct Case {
        RenameMode mode;
        RenameOptions options;
        std::size_t index;
        const char* before;
        const char* after;
    };
    const Case cases[] = {
        {RenameMode::addPrefix, {"2024-", ""}, 0, "trip.jpg", "2024-trip.jpg"},
        {RenameMode::addSuffix, {"_old", ""}, 0, "photo.JPG", "photo_old.JPG"},
        {RenameMode::addSuffix, {" 副本", ""}, 0, "notes", "notes 副本"},
        {RenameMode::findReplace, {"a", "b"}, 0, "archive.tar.gz", "brchive.tbr.gz"},
        {RenameMode::findReplace, {"", "x"}, 0, "same.txt", "same.txt"},
        {RenameMode::findReplace, {"Tx", "t"}, 0, "TxTxT.txt", "ttT.txt"},
        {RenameMode::findReplace, {"txt", "md"}, 0, "a.txt", "a.txt"},
        {RenameMode::sequential, {"Trip", ""}, 0, "b.jpg", "Trip 001.jpg"},
        {RenameMode::sequential, {"Trip", ""}, 999, "c.png", "Trip 1000.png"},
        {RenameMode::sequential, {"", ""}, 41, ".bashrc", " 042"},
        {RenameMode::lowercase, {}, 0, "ÉCOLE ΣΟΦΊΑ.TXT", "école σοφία.TXT"},
        {RenameMode::uppercase, {}, 0, "straße.md", "STRASSE.md"},
        {RenameMode::uppercase, {}, 0, "readme.md", "README.md"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(renamedName(c.before, c.mode, c.options, c.index), c.after) << c.before;
    }
}

TEST(RenameRules, CaseChangesKeepBytesThatAreNotText) {
    EXPECT_EQ(collation::uppercased("ab\xff" "c"), "AB\xff" "C");
    EXPECT_EQ(collation::lowercased("\xc3\x28Q"), "\xc3\x28q");
}

TEST(RenameRules, OrderIsTheFileManagersOrder) {
    Paths items = {"/x/file10", "/x/File2", "/x/b.jpg", "/x/a.jpg", "/x/c.png", "/x/B.jpg", "/x/file1"};
    collation::sortAsFileManagerShows(items);
    EXPECT_EQ(items, (Paths{"/x/a.jpg", "/x/B.jpg", "/x/b.jpg", "/x/c.png", "/x/file1", "/x/File2", "/x/file10"}));
    EXPECT_TRUE(collation::equalIgnoringCaseAndDiacritics("readme.md", "README.MD"));
    EXPECT_TRUE(collation::equalIgnoringCaseAndDiacritics("cafe", "Café"));
    EXPECT_FALSE(collation::equalIgnoringCaseAndDiacritics("cafe", "cafes"));
}

TEST_F(Rename, SequentialNumbersFollowTheSortedOrderAndKeepEachExtension) {
    platform.prompts.texts.push_back("Trip");
    const auto result = perform("renameSequential", {"b.jpg", "file10.txt", "a.jpg", "file2.txt", "c.png"});
    EXPECT_EQ(result, (Paths{dir / "Trip 001.jpg", dir / "Trip 002.jpg", dir / "Trip 003.png", dir / "Trip 004.txt",
                             dir / "Trip 005.txt"}));
    EXPECT_EQ(readText(dir / "Trip 001.jpg"), "a.jpg");
    EXPECT_EQ(readText(dir / "Trip 004.txt"), "file2.txt");
    EXPECT_EQ(platform.prompts.asked, std::vector<std::string>{"序号重命名 | 输入统一文件名。"});
}

TEST_F(Rename, CancelledPromptsRunWithTheirDefaults) {
    EXPECT_EQ(perform("renameSequential", {"x.txt"}), Paths{dir / "File 001.txt"});
    EXPECT_EQ(perform("renameAddPrefix", {"y.txt"}), Paths{dir / "y.txt"});
    EXPECT_EQ(perform("renameAddSuffix", {"y.txt"}), Paths{dir / "y.txt"});
    EXPECT_EQ(perform("renameFindReplace", {"y.txt"}), Paths{dir / "y.txt"});
    EXPECT_EQ(platform.prompts.asked, (std::vector<std::string>{"序号重命名 | 输入统一文件名。",
                                                               "添加前缀 | 输入要添加到文件名前面的文字。",
                                                               "添加后缀 | 输入要添加到扩展名前面的文字。",
                                                               "查找并替换 | 查找 | 替换为 | "}));
    EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string>{"File 001.txt", "y.txt"}));
}

TEST_F(Rename, TextsAreUsedExactlyAsTyped) {
    platform.prompts.pairs.push_back(std::pair<std::string, std::string>{" a", "_"});
    EXPECT_EQ(perform("renameFindReplace", {"x a b.txt"}), Paths{dir / "x_ b.txt"});
    platform.prompts.texts.push_back("  ");
    EXPECT_EQ(perform("renameAddPrefix", {"p"}), Paths{dir / "  p"});
}

TEST_F(Rename, TakenNamesGetTheNextFreeName) {
    dir.write("Photo.jpg", "taken");
    platform.prompts.pairs.push_back(std::pair<std::string, std::string>{"IMG_1", "Photo"});
    EXPECT_EQ(perform("renameFindReplace", {"IMG_1.jpg"}), Paths{dir / "Photo 2.jpg"});
    EXPECT_EQ(readText(dir / "Photo.jpg"), "taken");
}

TEST_F(Rename, CaseOnlyChangesGoThroughATemporaryName) {
    const auto result = perform("renameUppercase", {"readme.md", "Ünïcode.txt"});
    EXPECT_EQ(result, (Paths{dir / "README.md", dir / "ÜNÏCODE.txt"}));
    EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string>{"README.md", "ÜNÏCODE.txt"}));
    EXPECT_EQ(readText(dir / "README.md"), "readme.md");
}

TEST_F(Rename, AFailedCaseOnlyRenameMovesTheItemBack) {
    // On a case-sensitive file system both names can exist: the second step must not replace.
    dir.write("NOTES.txt", "other");
    const auto notes = dir.write("notes.txt", "mine");
    const auto message = failureOf([&] { moveRenamedItem(notes, "NOTES.txt"); });
    EXPECT_EQ(message, "已有同名的项目：" + (dir / "NOTES.txt").string()) << "names the file in the way";
    EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string>{"NOTES.txt", "notes.txt"}));
    EXPECT_EQ(readText(notes), "mine");
    EXPECT_EQ(readText(dir / "NOTES.txt"), "other");
}

TEST_F(Rename, UnusableNamesAreRefusedAndEarlierItemsStayRenamed) {
    platform.prompts.texts.push_back("sub/");
    EXPECT_EQ(failureOf([&] { perform("renameAddPrefix", {"a.txt"}); }), "路径不可用：sub/a.txt");
    EXPECT_TRUE(fs::exists(dir / "a.txt"));

    // The second item's new name is one byte too long: the first keeps its new name.
    const std::string nearLimit(250, 'x');
    platform.prompts.texts.push_back("12345");
    EXPECT_NE(failureOf([&] { perform("renameAddPrefix", {"a.txt", nearLimit + ".t"}); }), "no failure");
    EXPECT_TRUE(fs::exists(dir / "12345a.txt"));
    EXPECT_TRUE(fs::exists(dir / (nearLimit + ".t")));
}

TEST_F(Rename, EmptySelectionAsksNothing) {
    EXPECT_EQ(failureOf([&] { executor.perform({.actionID = "renameSequential"}); }), "请先在 Finder 中选择文件。");
    EXPECT_TRUE(platform.prompts.asked.empty());
}

TEST_F(Rename, EveryRenameAndArchiveRowIsWired) {
    for (const auto* id : {"renameAddPrefix", "renameAddSuffix", "renameFindReplace", "renameSequential", "renameLowercase",
                           "renameUppercase", "compressToZIP", "extractZIPHere", "extractZIPToFolder"}) {
        EXPECT_TRUE(executor.table().handles(id)) << id;
    }
}
