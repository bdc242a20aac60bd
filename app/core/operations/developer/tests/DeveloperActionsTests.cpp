#include "app/core/deletion/ScheduledDeletionStore.h"
#include "app/core/executor/FinderActionExecutionError.h"
#include "app/core/executor/FinderActionExecutor.h"
#include "app/core/lists/CustomShortcutActionPersistence.h"
#include "app/core/operations/developer/FileSizes.h"
#include "app/core/operations/developer/ScriptInvocation.h"
#include "app/core/tests/fakes/FakePlatform.h"
#include "shared/FileIO.h"
#include "shared/QuillaPaths.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestEnv.h"
#include "app/core/tests/fakes/FailureText.h"

#include <gtest/gtest.h>

using namespace quilla;
using quilla::test::TempDir;
namespace fs = std::filesystem;

namespace {

using quilla::test::failureOf;

fs::path writeScript(const fs::path& path, const std::string& body, bool executable) {
    fs::create_directories(path.parent_path());
    writeFileAtomically(path, body, true, executable ? 0755 : 0644);
    return path;
}

void saveActions(const std::vector<CustomShortcutAction>& actions) {
    writeFileAtomically(CustomShortcutActionPersistence::applicationCopy(),
                        plist::toXML(CustomShortcutActionPersistence::encode(actions)));
}

// The shell line every test script uses: record the arguments, one per line.
std::string recordingScript(const fs::path& out) { return "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + out.string() + "'\n"; }

std::string lastLogLine() {
    const auto log = quilla::test::readText(paths::appActionLogPath());
    const auto end = log.find_last_not_of('\n');
    const auto start = log.rfind('\n', end);
    const auto line = log.substr(start == std::string::npos ? 0 : start + 1, end - (start == std::string::npos ? 0 : start + 1) + 1);
    return line.substr(line.find("] ") + 2);
}

struct DeveloperFixture : ::testing::Test {
    quilla::test::ScopedHome home;
    TempDir dir;
    quilla::test::FakePlatform platform;
    ExecutorContext context = platform.context();
    FinderActionExecutor executor{context};

    ActionResult perform(const std::string& id, std::vector<fs::path> selected = {},
                         std::optional<fs::path> targeted = std::nullopt) {
        return executor.perform({.actionID = id, .selectedPaths = std::move(selected), .targetedPath = targeted});
    }
};

} // namespace

TEST(ScriptInvocation, ChoosesTheProgramByExecutableBitThenExtension) {
    TempDir dir;
    const std::vector<fs::path> inputs{"/in/a", "/in/b"};
    const auto sh = writeScript(dir / "run.sh", "echo", false);
    const fs::path shell = fs::exists("/bin/zsh") ? "/bin/zsh" : "/bin/sh";
    EXPECT_EQ(scriptInvocation(sh, inputs), (ScriptInvocation{shell, {sh.string(), "/in/a", "/in/b"}}));
    fs::permissions(sh, fs::perms::owner_exec, fs::perm_options::add);
    EXPECT_EQ(scriptInvocation(sh, inputs), (ScriptInvocation{sh, {"/in/a", "/in/b"}}));

    const auto py = writeScript(dir / "tool.PY", "", false);
    EXPECT_EQ(scriptInvocation(py, {}), (ScriptInvocation{"/usr/bin/python3", {py.string()}}));
    const auto bash = writeScript(dir / "x.bash", "", false);
    EXPECT_EQ(scriptInvocation(bash, {"/i"}), (ScriptInvocation{"/bin/bash", {bash.string(), "/i"}}));
    const auto hidden = writeScript(dir / ".py", "", false);
    EXPECT_EQ(scriptInvocation(hidden, {}).program, shell) << "a leading dot starts no extension";
    const auto apple = writeScript(dir / "a.applescript", "", false);
    EXPECT_EQ(failureOf([&] { scriptInvocation(apple, {}); }), "AppleScript 脚本无法在 Linux 上运行：" + apple.string());
}

TEST_F(DeveloperFixture, ScriptActionRunsWithTheSelectionAndIsLogged) {
    const auto out = dir / "args.txt";
    const auto script = writeScript(dir / "scripts/record.sh", recordingScript(out), false);
    saveActions({{"S1", "Record", CustomShortcutAction::Kind::script, "", script.string()},
                 {"K1", "Shortcut", CustomShortcutAction::Kind::shortcut, "Record", ""}});
    const auto a = dir.write("a b.txt", "");
    EXPECT_TRUE(perform("runScript__S1", {a, dir / "c"}).empty());
    EXPECT_EQ(quilla::test::readText(out), a.string() + "\n" + (dir / "c").string() + "\n");
    EXPECT_EQ(lastLogLine(), "run script path=" + script.string() + " input=[\"" + a.string() + "\", \"" +
                                 (dir / "c").string() + "\"]");

    perform("runScript__S1", {}, dir.path());
    EXPECT_EQ(quilla::test::readText(out), dir.path().string() + "\n") << "the targeted folder when nothing is selected";

    EXPECT_EQ(failureOf([&] { perform("runScript__K1", {a}); }), "暂不支持这个右键动作：runScript__K1。");
    EXPECT_EQ(failureOf([&] { perform("runScript__copySHA256", {a}); }), "暂不支持这个右键动作：runScript__copySHA256。");
    EXPECT_EQ(failureOf([&] { perform("runScript__S1"); }), "请先在 Finder 中选择文件。");
    fs::remove(script);
    EXPECT_EQ(failureOf([&] { perform("runScript__S1", {a}); }), "所选文件不存在或无法访问：" + script.string());
}

TEST_F(DeveloperFixture, FailingScriptReportsItsStandardError) {
    const auto script = writeScript(dir / "fail.bash", "echo '出错了' >&2; exit 3", false);
    saveActions({{"F", "Fail", CustomShortcutAction::Kind::script, "", script.string()}});
    EXPECT_EQ(failureOf([&] { perform("runScript__F", {dir.path()}); }), "出错了");
}

TEST_F(DeveloperFixture, ShortcutRunsTheExecutableOfThatNameInTheShortcutsFolder) {
    const auto out = dir / "args.txt";
    writeScript(paths::shortcutsDir() / "Resize Photos", recordingScript(out), true);
    saveActions({{"A", "Resize", CustomShortcutAction::Kind::shortcut, "Resize Photos", ""},
                 {"B", "Escape", CustomShortcutAction::Kind::shortcut, "../escape", ""},
                 {"C", "Missing", CustomShortcutAction::Kind::shortcut, "Nope", ""}});
    const auto photo = dir.write("p.jpg", "");
    perform("runShortcut__A", {photo});
    EXPECT_EQ(quilla::test::readText(out), photo.string() + "\n");

    fs::remove(out);
    EXPECT_EQ(failureOf([&] { perform("runShortcut__A"); }), "请先在 Finder 中选择文件。");
    EXPECT_FALSE(fs::exists(out)) << "nothing runs without inputs";
    writeScript(paths::appSupportDir() / "escape", recordingScript(out), true);
    EXPECT_EQ(failureOf([&] { perform("runShortcut__B", {photo}); }),
              "所选文件不存在或无法访问：" + (paths::shortcutsDir() / "../escape").string());
    EXPECT_FALSE(fs::exists(out));
    EXPECT_EQ(failureOf([&] { perform("runShortcut__C", {photo}); }),
              "所选文件不存在或无法访问：" + (paths::shortcutsDir() / "Nope").string());
    EXPECT_EQ(failureOf([&] { perform("runShortcut__Z", {photo}); }), "暂不支持这个右键动作：runShortcut__Z。");
}

TEST(FileSizes, DecimalUnitsWholeKilobytesAndOneDecimalAbove) {
    const std::vector<std::pair<std::uintmax_t, std::string>> cases{
        {0, "0 字节"},           {1, "1 字节"},           {999, "999 字节"},      {1000, "1 kB"},
        {1499, "1 kB"},          {1500, "2 kB"},          {999'499, "999 kB"},    {999'500, "1.0 MB"},
        {1'234'567, "1.2 MB"},   {999'950'000, "1.0 GB"}, {12'345'678'901, "12.3 GB"},
        {std::uintmax_t(-1), "18.4 EB"},
    };
    for (const auto& [bytes, text] : cases) {
        EXPECT_EQ(FileSizes::formatted(bytes), text) << bytes;
    }
}

TEST_F(DeveloperFixture, FileSizeLinesHaveNoNamesAndFoldersCountAsZero) {
    const auto big = dir / "big.bin";
    fs::resize_file(dir.write("big.bin", ""), 1'234'567);
    perform("copyFileSize", {big, dir.path()});
    EXPECT_EQ(platform.pasteboard.text, "1.2 MB\n0 字节");
    EXPECT_EQ(failureOf([&] { perform("copyFileSize", {dir / "gone"}); }).find(dir.path().string()) != std::string::npos, true);
    EXPECT_EQ(failureOf([&] { perform("copyFileSize"); }), "请先在 Finder 中选择文件。");
}

TEST_F(DeveloperFixture, SchedulingHandsTheSelectionToTheStoreAndLogsTheInterval) {
    const auto a = dir.write("a", "");
    const auto b = dir.write("sub/b", "");
    EXPECT_EQ(perform("scheduleDelete7Days", {a, dir / "sub/../sub/b"}), (ActionResult{a, dir / "sub/../sub/b"}));
    const auto items = ScheduledDeletionStore().loadItems();
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[1].path, b.string());
    EXPECT_EQ(items[0].deleteAt - items[0].scheduledAt, std::chrono::days(7));
    EXPECT_EQ(lastLogLine(), "scheduled deletion interval=7d paths=[\"" + a.string() + "\", \"" +
                                 (dir / "sub/../sub/b").string() + "\"]");

    const auto c = dir.write("c", "");
    perform("scheduleDelete1Hour", {c});
    EXPECT_EQ(ScheduledDeletionStore().loadItems().back().deleteAt - ScheduledDeletionStore().loadItems().back().scheduledAt,
              std::chrono::hours(1));
    EXPECT_EQ(lastLogLine(), "scheduled deletion interval=1h paths=[\"" + c.string() + "\"]");
    perform("scheduleDelete90Days", {c});
    EXPECT_EQ(lastLogLine(), "scheduled deletion interval=90d paths=[\"" + c.string() + "\"]");
    EXPECT_EQ(failureOf([&] { perform("scheduleDelete30Days", {}, dir.path()); }), "请先在 Finder 中选择文件。");
}
