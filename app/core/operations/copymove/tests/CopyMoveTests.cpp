#include "app/core/executor/FinderActionExecutionError.h"
#include "app/core/executor/FinderActionExecutor.h"
#include "app/core/operations/copymove/CopyMoveOperations.h"
#include "app/core/tests/fakes/FakePlatform.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestEnv.h"
#include "app/core/tests/fakes/FailureText.h"

#include <gtest/gtest.h>
#include <unistd.h>

using namespace quilla;
using quilla::test::readText;
using quilla::test::TempDir;
namespace fs = std::filesystem;
using Paths = std::vector<fs::path>;

namespace {

using quilla::test::failureOf;

struct CopyMove : ::testing::Test {
    test::FakePlatform platform;
    ExecutorContext context = platform.context();
    FinderActionExecutor executor{context};
    TempDir dir;

    ActionResult perform(const std::string& id, Paths selected, std::optional<fs::path> destination = {}) {
        return executor.perform({.actionID = id, .selectedPaths = std::move(selected), .destinationPath = std::move(destination)});
    }
};

} // namespace

TEST_F(CopyMove, CopiesTakeTheNextFreeNameAndLeaveExistingItemsAlone) {
    const auto source = dir.write("src/a.txt", "new");
    dir.write("dst/a.txt", "old");
    dir.write("dst/a 2.txt", "old 2");
    fs::create_directories(dir / "src/Project.old/inner");
    dir.write("src/Project.old/inner/f", "deep");
    fs::create_directories(dir / "dst/Project.old");
    const auto result = perform("copyFilesToFolder", {source, dir / "src/Project.old"}, dir / "dst");
    EXPECT_EQ(result, (Paths{dir / "dst/a 3.txt", dir / "dst/Project 2.old"}));
    EXPECT_EQ(readText(dir / "dst/a 3.txt"), "new");
    EXPECT_EQ(readText(dir / "dst/a.txt"), "old");
    EXPECT_EQ(readText(dir / "dst/a 2.txt"), "old 2");
    EXPECT_EQ(readText(dir / "dst/Project 2.old/inner/f"), "deep");
    EXPECT_EQ(readText(source), "new");
    // A copied folder is shown itself; a copied file by its folder.
    EXPECT_EQ(platform.workspace.calls,
              (std::vector<std::string>{"open " + (dir / "dst").string(), "open " + (dir / "dst/Project 2.old").string()}));
}

TEST_F(CopyMove, CopyIntoItsOwnFolderMakesANumberedDuplicate) {
    const auto source = dir.write("a.txt", "x");
    EXPECT_EQ(perform("copyFilesToPath", {source}, dir.path()), Paths{dir / "a 2.txt"});
}

TEST_F(CopyMove, MovesKeepContentsAndRemoveTheSource) {
    const auto a = dir.write("a/it's \"quoted\" 名字\nline.txt", "1");
    fs::create_directories(dir / "b");
    const auto result = perform("moveFilesToFolder", {a}, dir / "b");
    ASSERT_EQ(result.size(), 1u);
    EXPECT_EQ(result[0].filename(), "it's \"quoted\" 名字\nline.txt");
    EXPECT_EQ(readText(result[0]), "1");
    EXPECT_FALSE(fs::exists(a));
}

TEST_F(CopyMove, AFolderCannotGoIntoItselfAndNothingIsWritten) {
    const auto first = dir.write("first.txt", "1");
    fs::create_directories(dir / "tree/sub");
    for (const auto* id : {"copyFilesToFolder", "moveFilesToFolder"}) {
        for (const auto& into : {dir / "tree", dir / "tree/sub"}) {
            EXPECT_EQ(failureOf([&] { perform(id, {first, dir / "tree"}, into); }), "目标文件夹不可用：" + into.string()) << id;
        }
    }
    EXPECT_FALSE(fs::exists(dir / "tree/first.txt"));
    EXPECT_FALSE(fs::exists(dir / "tree/sub/first.txt"));
    EXPECT_FALSE(fs::exists(dir / "tree/sub/tree"));
    EXPECT_TRUE(fs::exists(first));
}

TEST_F(CopyMove, ValidationFailsBeforeAnythingHappens) {
    const auto a = dir.write("a", "1");
    fs::create_directories(dir / "dst");
    EXPECT_EQ(failureOf([&] { perform("copyFilesToFolder", {a, dir / "gone"}, dir / "dst"); }),
              "所选文件不存在或无法访问：" + (dir / "gone").string());
    EXPECT_EQ(failureOf([&] { perform("moveFilesToFolder", {a}, dir / "nowhere"); }),
              "目标文件夹不可用：" + (dir / "nowhere").string());
    EXPECT_EQ(failureOf([&] { perform("copyFilesToFolder", {}, dir / "dst"); }), "请先在 Finder 中选择文件。");
    EXPECT_TRUE(fs::is_empty(dir / "dst"));
}

TEST_F(CopyMove, StopsAtTheFirstFailureAndKeepsEarlierItems) {
    // A 255-byte name whose free name would need more bytes: an error, never a shortened name.
    const std::string longName(255, 'n');
    const auto a = dir.write("src/a", "1");
    const auto tooLong = dir.write("src/" + longName, "2");
    const auto c = dir.write("src/c", "3");
    dir.write("dst/" + longName, "taken");
    const auto message = failureOf([&] { perform("copyFilesToFolder", {a, tooLong, c}, dir / "dst"); });
    EXPECT_EQ(message.substr(0, message.find("：")), "名称太长");
    EXPECT_TRUE(fs::exists(dir / "dst/a"));
    EXPECT_FALSE(fs::exists(dir / "dst/c"));
    // The same name copied into a free folder works at the limit.
    fs::create_directories(dir / "free");
    EXPECT_EQ(perform("copyFilesToFolder", {tooLong}, dir / "free"), Paths{dir / "free" / longName});
}

TEST_F(CopyMove, ChosenFolderVariantsAskAndCancelQuietly) {
    const auto a = dir.write("a.txt", "1");
    fs::create_directories(dir / "chosen");
    EXPECT_TRUE(perform("copyFilesToFolder", {a}).empty()); // the chooser answers "cancel"
    platform.prompts.directories.push_back(dir / "chosen");
    EXPECT_EQ(perform("moveFilesToPath", {a}), Paths{dir / "chosen/a.txt"});
    EXPECT_EQ(platform.prompts.asked, (std::vector<std::string>{"选择目标文件夹 | 复制", "选择目标文件夹 | 移动"}));
    EXPECT_EQ(failureOf([&] { perform("copyFilesToPath", {}); }), "请先在 Finder 中选择文件。");
    EXPECT_EQ(platform.prompts.asked.size(), 2u); // no chooser without a selection
}

TEST_F(CopyMove, StandardFoldersAreTheUsersOwn) {
    test::ScopedHome home;
    fs::create_directories(home.home() / "Downloads");
    const auto a = dir.write("a.txt", "1");
    EXPECT_EQ(perform("copyFilesToDownloads", {a}), Paths{home.home() / "Downloads/a.txt"});
    EXPECT_EQ(perform("moveFilesToDownloads", {a}), Paths{home.home() / "Downloads/a 2.txt"});
    EXPECT_EQ(failureOf([&] { perform("copyFilesToDesktop", {dir.write("b", "")}); }),
              "目标文件夹不可用：" + (home.home() / "Desktop").string());
}

TEST_F(CopyMove, CopiesBesideTheOriginalCountUp) {
    const auto report = dir.write("Report.pdf", "pdf");
    fs::create_directories(dir / "Photos/x");
    EXPECT_EQ(perform("copyBesideOriginal", {report}), Paths{dir / "Report copy.pdf"});
    EXPECT_EQ(perform("copyBesideOriginal", {report, dir / "Photos"}), (Paths{dir / "Report copy 2.pdf", dir / "Photos copy"}));
    EXPECT_TRUE(fs::is_directory(dir / "Photos copy/x"));
    EXPECT_EQ(failureOf([&] { perform("copyBesideOriginal", {}); }), "请先在 Finder 中选择文件。");
    // A vanished item fails in its own step, after the items before it.
    EXPECT_NE(failureOf([&] { perform("copyBesideOriginal", {report, dir / "gone.pdf"}); }), "no failure");
    EXPECT_TRUE(fs::exists(dir / "Report copy 3.pdf"));
}

TEST_F(CopyMove, BesideOriginalRunsAnyPerItemStepAndRevealsItsResults) {
    const auto a = dir.write("a.png", "1");
    const auto b = dir.write("sub/b.png", "2");
    Paths seen;
    const auto results = copymove::copyFilesBesideOriginal(context, {a, b}, [&](const fs::path& item) {
        seen.push_back(item);
        return dir.write(item.stem().string() + " stripped.png", "s");
    });
    EXPECT_EQ(seen, (Paths{a, b}));
    EXPECT_EQ(results, (Paths{dir / "a stripped.png", dir / "b stripped.png"}));
    EXPECT_EQ(platform.workspace.calls, (std::vector<std::string>{"open " + dir.path().string()}));
    platform.preferences.revealActionResults = false;
    copymove::copyFilesBesideOriginal(context, {a});
    EXPECT_EQ(platform.workspace.calls.size(), 1u);
}

TEST_F(CopyMove, NewFolderWithItemsGathersTheSelection) {
    const auto a = dir.write("one/a.txt", "1");
    const auto otherA = dir.write("two/a.txt", "2");
    fs::create_directories(dir / "one/New Folder With Items");
    const auto result = perform("moveSelectionToNewFolder", {a, otherA});
    EXPECT_EQ(result, Paths{dir / "one/New Folder With Items 2"});
    EXPECT_EQ(readText(dir / "one/New Folder With Items 2/a.txt"), "1");
    EXPECT_EQ(readText(dir / "one/New Folder With Items 2/a 2.txt"), "2");
    EXPECT_FALSE(fs::exists(a));
    EXPECT_EQ(platform.workspace.calls, (std::vector<std::string>{"open " + result[0].string()}));
}

TEST_F(CopyMove, NewFolderWithItemsRefusesBadSelectionsBeforeMakingTheFolder) {
    const auto inner = dir.write("outer/inner.txt", "1");
    EXPECT_EQ(failureOf([&] { perform("moveSelectionToNewFolder", {inner, dir / "outer"}); }),
              "目标文件夹不可用：" + (dir / "outer").string());
    EXPECT_EQ(failureOf([&] { perform("moveSelectionToNewFolder", {inner, dir / "gone"}); }),
              "所选文件不存在或无法访问：" + (dir / "gone").string());
    EXPECT_EQ(failureOf([&] { perform("moveSelectionToNewFolder", {}); }), "请先在 Finder 中选择文件。");
    EXPECT_FALSE(fs::exists(dir / "outer/New Folder With Items"));
}

TEST_F(CopyMove, EveryCopyAndMoveRowIsWired) {
    for (const auto* id : {"copyFilesToFolder", "copyFilesToPath", "copyFilesToDesktop", "copyFilesToDownloads",
                           "copyFilesToDocuments", "copyBesideOriginal", "moveFilesToFolder", "moveFilesToPath",
                           "moveFilesToDesktop", "moveFilesToDownloads", "moveFilesToDocuments", "moveSelectionToNewFolder"}) {
        EXPECT_TRUE(executor.table().handles(id)) << id;
    }
}

TEST_F(CopyMove, AnUnreadableItemStopsTheCopyWithTheSystemMessage) {
    if (::geteuid() == 0) GTEST_SKIP() << "permissions do not stop the superuser";
    const auto a = dir.write("src/a", "1");
    const auto secret = dir.write("src/secret", "2");
    fs::permissions(secret, fs::perms::none);
    fs::create_directories(dir / "dst");
    const auto message = failureOf([&] { perform("copyFilesToFolder", {a, secret}, dir / "dst"); });
    EXPECT_EQ(message, "没有权限：" + secret.string());
    EXPECT_TRUE(fs::exists(dir / "dst/a"));
    EXPECT_FALSE(fs::exists(dir / "dst/secret"));
}
