#include "app/core/executor/FinderActionExecutionError.h"
#include "app/core/executor/FinderActionExecutor.h"
#include "app/core/operations/paths/QuillaPathCopyFormat.h"
#include "app/core/tests/fakes/FakePlatform.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

using namespace quilla;
namespace fs = std::filesystem;
using test::TempDir;

namespace {

std::string copied(test::FakePlatform& platform, const ActionRequest& request) {
    const FinderActionExecutor executor(platform.context());
    EXPECT_TRUE(executor.perform(request).empty());
    return platform.pasteboard.text.value_or("<nothing>");
}

std::string failureOf(test::FakePlatform& platform, const ActionRequest& request) {
    try {
        FinderActionExecutor(platform.context()).perform(request);
    } catch (const std::exception& e) {
        return errorDescription(e);
    }
    return "no failure";
}

} // namespace

TEST(PathCopy, EachFormatForAwkwardNames) {
    using F = QuillaPathCopyFormat;
    struct Case {
        F format;
        fs::path item;
        std::string expected;
    };
    const Case cases[] = {
        {F::fullPath, "/tmp/it's here", "/tmp/it's here"},
        {F::shellPath, "/tmp/it's here", "'/tmp/it'\\''s here'"},
        {F::shellPath, "/tmp/$HOME `x` \"q\"", "'/tmp/$HOME `x` \"q\"'"},
        {F::shellPath, "/tmp/line\nbreak", "'/tmp/line\nbreak'"},
        {F::fileName, "/tmp/报告 终稿.txt", "报告 终稿.txt"},
        {F::fileNameList, "/tmp/dir/", "dir"},
        {F::parentPath, "/tmp/dir/", "/tmp"},
        {F::parentPath, "/top", "/"},
        {F::fullPath, "/tmp/dir//", "/tmp/dir"},
        {F::fullPath, "/", "/"},
        {F::markdownLink, "/no/such/a b.txt", "[a b.txt](file:///no/such/a%20b.txt)"},
        {F::markdownLink, "/no/such/报告.txt", "[报告.txt](file:///no/such/%E6%8A%A5%E5%91%8A.txt)"},
        {F::markdownLink, "/no/such/100%#1?[x]\n", "[100%#1?[x]\n](file:///no/such/100%25%231%3F%5Bx%5D%0A)"},
        {F::markdownLink, "/no/such/it's (1).txt", "[it's (1).txt](file:///no/such/it's%20(1).txt)"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PathCopy::text(c.format, c.item), c.expected) << c.item;
    }
}

TEST(PathCopy, ActionsPutOneLinePerItemOnTheClipboard) {
    TempDir dir;
    const auto a = dir.write("a b.txt", "");
    const auto b = dir.write("子目录/c.txt", "");
    test::FakePlatform platform;
    EXPECT_EQ(copied(platform, {.actionID = "copyFullPath", .selectedPaths = {a, b}}), a.string() + "\n" + b.string());
    EXPECT_EQ(copied(platform, {.actionID = "copyFileName", .selectedPaths = {a, b}}), "a b.txt\nc.txt");
    EXPECT_EQ(copied(platform, {.actionID = "copyFileNameList", .selectedPaths = {a, b}}), "a b.txt\nc.txt");
    EXPECT_EQ(copied(platform, {.actionID = "copyParentPath", .selectedPaths = {b}}), (dir / "子目录").string());

    // Nothing selected: the targeted folder stands in; an existing folder's URL ends in a slash.
    EXPECT_EQ(copied(platform, {.actionID = "copyMarkdownLink", .targetedPath = dir / "子目录"}),
              "[子目录](file://" + dir.path().string() + "/%E5%AD%90%E7%9B%AE%E5%BD%95/)");
    EXPECT_EQ(platform.pasteboard.writes, 5);
}

TEST(PathCopy, NoItemOrARefusingClipboardFail) {
    test::FakePlatform platform;
    EXPECT_EQ(failureOf(platform, {.actionID = "copyShellPath"}), "请先在 Finder 中选择文件。");
    platform.pasteboard.refuses = true;
    EXPECT_EQ(failureOf(platform, {.actionID = "copyFullPath", .selectedPaths = {"/x"}}), "写入剪贴板失败。");
}
