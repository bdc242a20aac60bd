#include "app/core/executor/ExecutorHelpers.h"
#include "app/core/executor/FinderActionExecutionError.h"
#include "app/core/executor/FinderActionExecutor.h"
#include "app/core/tests/fakes/FakePlatform.h"
#include "tests/support/TempDir.h"
#include "app/core/tests/fakes/FailureText.h"

#include <gtest/gtest.h>

using namespace quilla;
using namespace quilla::executor;
using quilla::test::TempDir;

namespace {

using quilla::test::failureOf;

} // namespace

TEST(ActionTable, PrefixesWinOverFixedIDsAndUnknownIDsFailFirst) {
    ActionTable table;
    std::vector<std::string> ran;
    table.addPrefix("runScript__", [&](const ActionRequest&, const std::string& rest) {
        ran.push_back("script:" + rest);
        return ActionResult{};
    });
    table.add("createFolder", [&](const ActionRequest&) {
        ran.push_back("createFolder");
        return ActionResult{"/x"};
    });
    table.perform({.actionID = "runScript__createFolder"});
    table.perform({.actionID = "createFolder"});
    EXPECT_EQ(ran, (std::vector<std::string>{"script:createFolder", "createFolder"}));

    const ActionRequest completed{.actionID = "completed", .selectedPaths = {"/a", "/b"}};
    EXPECT_EQ(table.perform(completed), completed.selectedPaths);
    EXPECT_EQ(failureOf([&] { table.perform({.actionID = "CreateFolder"}); }), "暂不支持这个右键动作：CreateFolder。");
    EXPECT_EQ(failureOf([&] { table.perform({.actionID = "createFolder "}); }), "暂不支持这个右键动作：createFolder 。");
}

TEST(ExecutorErrors, MessagesAreTheChineseSentences) {
    using E = FinderActionExecutionError;
    EXPECT_STREQ(E::applicationNotFound("Terminal").what(), "没有找到 Terminal 应用。");
    EXPECT_STREQ(E::commandFailed("").what(), "系统命令执行失败。");
    EXPECT_STREQ(E::commandFailed("boom").what(), "boom");
    EXPECT_STREQ(E::noTargetDirectory().what(), "没有找到可以执行操作的 Finder 目录。");
    EXPECT_STREQ(E::sourceItemMissing("/a").what(), "所选文件不存在或无法访问：/a");
}

TEST(ExecutorHelpers, TargetDirectoryFollowsSelectionThenTarget) {
    TempDir dir;
    const auto file = dir.write("docs/a.txt", "x");
    EXPECT_EQ(targetDirectory({file}, std::nullopt), dir / "docs");
    EXPECT_EQ(targetDirectory({dir / "docs"}, dir.path()), dir / "docs");
    EXPECT_EQ(targetDirectory({}, dir / "docs/./"), dir / "docs");
    EXPECT_EQ(failureOf([] { targetDirectory({}, std::nullopt); }), "没有找到可以执行操作的 Finder 目录。");
}

TEST(ExecutorHelpers, ValidationStopsAtTheFirstMissingItemBeforeAnythingElse) {
    TempDir dir;
    const auto a = dir.write("a", "1");
    const auto c = dir.write("c", "3");
    EXPECT_EQ(failureOf([&] { validatedSourceURLs({a, dir / "b", c}); }), "所选文件不存在或无法访问：" + (dir / "b").string());
    EXPECT_EQ(failureOf([] { validatedSourceURLs({}); }), "请先在 Finder 中选择文件。");
    EXPECT_EQ(validatedSourceURLs({dir / "x/../a"}), std::vector<fs::path>{a});
    EXPECT_EQ(failureOf([&] { validatedDestinationDirectory(a); }), "目标文件夹不可用：" + a.string());
}

TEST(ExecutorHelpers, FreeNamesCountFromTwo) {
    TempDir dir;
    EXPECT_EQ(freeItemPath(dir.path(), "Untitled", "txt"), dir / "Untitled.txt");
    dir.write("Untitled.txt", "");
    dir.write("Untitled 2.txt", "");
    EXPECT_EQ(freeItemPath(dir.path(), "Untitled", "txt"), dir / "Untitled 3.txt");
    std::filesystem::create_directory(dir / "New Folder");
    EXPECT_EQ(freeItemPath(dir.path(), "New Folder", ""), dir / "New Folder 2");
    EXPECT_THROW(freeItemPath(dir.path(), std::string(252, 'n'), "txt"), std::filesystem::filesystem_error);
}

// Another program may take the free name between the look and the creation: its item stays
// untouched and the new one takes the next name.
TEST(ExecutorHelpers, ANameTakenMeanwhileIsLeftAloneAndTheNextOneUsed) {
    TempDir dir;
    int attempts = 0;
    const auto made = createUnderFreeName(dir.path(), "Untitled", "txt", [&](const fs::path& path) {
        if (++attempts == 1) {
            dir.write(path.filename().string(), "theirs");
        }
        if (fs::exists(path)) {
            throw fs::filesystem_error("taken", path, std::make_error_code(std::errc::file_exists));
        }
        dir.write(path.filename().string(), "ours");
    });
    EXPECT_EQ(made, dir / "Untitled 2.txt");
    EXPECT_EQ(test::readText(dir / "Untitled.txt"), "theirs");
    EXPECT_EQ(test::readText(made), "ours");

    const auto theirs = dir.write("Pages/theirs.txt", "x");
    EXPECT_EQ(createFreeFolder(dir.path(), "Pages"), dir / "Pages 2");
    EXPECT_TRUE(fs::is_empty(dir / "Pages 2"));
    EXPECT_THROW(createFreeFolder(dir / "missing", "Pages"), fs::filesystem_error);
    EXPECT_TRUE(fs::exists(theirs));
}

TEST(ExecutorHelpers, LastExtensionRule) {
    const std::pair<std::string, std::string> expected[] = {{"a.tar", "gz"}, {".bashrc", ""}, {"folder", ""}, {"x.", ""}, {"照片", "JPG"}};
    const std::string names[] = {"a.tar.gz", ".bashrc", "folder", "x.", "照片.JPG"};
    for (std::size_t i = 0; i < std::size(names); ++i) {
        EXPECT_EQ(splitLastExtension(names[i]), expected[i]) << names[i];
    }
}

TEST(ExecutorHelpers, RevealOpensAtMostFourFoldersInPathOrder) {
    TempDir dir;
    std::vector<fs::path> items;
    for (const char* folder : {"f", "e", "d", "c", "b", "a"}) {
        items.push_back(dir.write(std::string(folder) + "/item", ""));
    }
    items.push_back(dir / "missing/item");
    items.push_back(dir / "a"); // a folder stands for itself and is not repeated
    test::FakePlatform platform;
    openContainingFolders(platform.context(), items);
    EXPECT_EQ(platform.workspace.calls, (std::vector<std::string>{"open " + (dir / "a").string(), "open " + (dir / "b").string(),
                                                                "open " + (dir / "c").string(), "open " + (dir / "d").string()}));
}

TEST(ExecutorHelpers, ClipboardRefusalIsAnError) {
    test::FakePlatform platform;
    platform.pasteboard.refuses = true;
    EXPECT_EQ(failureOf([&] { copyToPasteboard(platform.context(), "x"); }), "写入剪贴板失败。");
}
