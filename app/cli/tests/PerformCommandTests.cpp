#include "app/cli/PerformCommand.h"
#include "app/cli/TerminalPrompts.h"
#include "app/cli/tests/PerformRun.h"
#include "app/core/platform/PromptUnavailable.h"
#include "shared/QuillaPaths.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestEnv.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <unistd.h>

using namespace quilla;
namespace fs = std::filesystem;
using test::TempDir;

namespace {

using Run = quilla::test::PerformRun;

Run perform(std::vector<std::string> words, const std::string& input = {}) {
    return quilla::test::runPerform(std::move(words), input);
}

/// Runs the scope in another working folder.
class ScopedWorkingDirectory final {
public:
    explicit ScopedWorkingDirectory(const fs::path& path) : old_(fs::current_path()) {
        fs::current_path(path);
    }
    ~ScopedWorkingDirectory() { fs::current_path(old_); }

private:
    fs::path old_;
};

} // namespace

TEST(PerformCommand, CopiedTextThenResultsGoToStandardOutput) {
    test::ScopedHome home;
    TempDir dir;
    const auto a = dir.write("a b.txt", "");
    const auto b = dir.write("报告.txt", "");

    const auto copied = perform({"copyFullPath", "--selected", a.string(), "--selected", b.string()});
    EXPECT_EQ(copied.status, 0);
    EXPECT_EQ(copied.out, a.string() + "\n" + b.string() + "\n");
    EXPECT_EQ(copied.err, "");

    // Relative paths are taken from the working folder; "completed" hands the selection back.
    const ScopedWorkingDirectory cwd(dir.path());
    const auto completed = perform({"completed", "--selected", "a b.txt"});
    EXPECT_EQ(completed.status, 0);
    EXPECT_EQ(completed.out, a.string() + "\n");
}

TEST(PerformCommand, FailuresAndUsageErrors) {
    test::ScopedHome home;
    const auto unknown = perform({"x"});
    EXPECT_EQ(unknown.status, 1);
    EXPECT_EQ(unknown.out, "");
    EXPECT_EQ(unknown.err, "暂不支持这个右键动作：x。\n");

    EXPECT_EQ(perform({"quickOpenClipboardPath"}).err, "剪贴板里没有可打开的路径。\n");
    EXPECT_EQ(perform({"copyFullPath"}).err, "请先在 Finder 中选择文件。\n");

    const std::vector<std::vector<std::string>> malformed{
        {}, {"--print-opens"}, {"copyFullPath", "--selected"}, {"a", "b"}, {"copyFullPath", "--verbose"},
    };
    for (const auto& words : malformed) {
        const auto run = perform(words);
        EXPECT_EQ(run.status, 2) << testing::PrintToString(words);
        EXPECT_NE(run.err.find("usage: quilla perform ACTION_ID"), std::string::npos) << run.err;
    }
}

TEST(PerformCommand, PrintOpensShowsWhatWouldBeOpened) {
    test::ScopedHome home;
    TempDir dir;
    const auto file = dir.write("src/main.cpp", "");
    // Installed: only such an application, or one the user chose, is ever started.
    const auto app = paths::dataHome() / "applications/viewer.desktop";
    std::filesystem::create_directories(app.parent_path());
    std::ofstream(app) << "[Desktop Entry]\nType=Application\nName=Viewer\nExec=true %F\n";

    auto run = perform(
        {"revealInFinder", "--print-opens", "--selected", file.string(), "--selected", dir.path().string()});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "reveal " + file.string() + " " + dir.path().string() + "\n");

    run = perform({"openWithApplicationPath", "--print-opens", "--selected", file.string(), "--destination",
                   app.string()});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "launch " + app.string() + " " + file.string() + "\n");

    run = perform({"openInTerminal", "--print-opens", "--target", file.string()});
    EXPECT_EQ(run.err, "terminal " + (dir / "src").string() + "\n");

    run = perform({"quickOpenPath", "--print-opens", "--destination", (dir / "src").string()});
    EXPECT_EQ(run.err, "open " + (dir / "src").string() + "\n");
}

TEST(PerformCommand, PromptsReadOneLinePerFieldAndEndOfInputFails) {
    test::ScopedHome home;
    fs::create_directories(home.home() / "Desktop");
    std::ofstream(home.home() / "Desktop/my file") << "";

    auto run = perform({"quickOpenTypedPath", "--print-opens"}, "'~/Desktop/my file'\n");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "打开指定路径\n输入要打开的文件或文件夹路径。\n> reveal " +
                           (home.home() / "Desktop/my file").string() + "\n");

    run = perform({"quickOpenTypedPath", "--print-opens"}, "");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "打开指定路径\n输入要打开的文件或文件夹路径。\n> \n"
                       "无法显示“打开指定路径”对话框，操作没有执行，文件未做任何更改。\n");

    run = perform({"quickOpenTypedPath"}, "~/nowhere\n");
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.ends_with("路径不可用：~/nowhere\n")) << run.err;
}

TEST(TerminalPrompts, TwoFieldsAndFolders) {
    test::ScopedHome home;
    TempDir dir;
    fs::create_directories(home.home() / "my folder");
    std::ostringstream shown;

    std::istringstream twoLines("前缀\r\n后缀\n");
    TerminalPrompts prompts(twoLines, shown);
    EXPECT_EQ(prompts.promptTwoTexts("添加前缀", "前缀", "后缀", ""),
              (std::pair<std::string, std::string>{"前缀", "后缀"}));
    EXPECT_EQ(shown.str(), "添加前缀\n前缀: 后缀: ");

    std::istringstream oneLine("only one\n");
    TerminalPrompts cutShort(oneLine, shown);
    EXPECT_THROW(cutShort.promptTwoTexts("t", "a", "b", ""),
                 PromptUnavailable); // the input ended: nobody answered

    std::istringstream folders("'~/my folder'\nsub\n\n");
    TerminalPrompts chooser(folders, shown);
    const ScopedWorkingDirectory cwd(dir.path());
    EXPECT_EQ(chooser.chooseDirectory("选择文件夹", "选择", std::nullopt), home.home() / "my folder");
    EXPECT_EQ(chooser.chooseDirectory("选择文件夹", "选择", std::nullopt), dir / "sub");
    EXPECT_EQ(chooser.chooseDirectory("选择文件夹", "选择", std::nullopt), std::nullopt);
    EXPECT_THROW(chooser.chooseDirectory("选择文件夹", "选择", std::nullopt),
                 PromptUnavailable); // end of input
}

TEST(PerformCommand, APromptNobodyCanAnswerFailsTheActionAndChangesNothing) {
    test::ScopedHome home;
    TempDir dir;
    const auto a = dir.write("a.txt", "a");
    const auto b = dir.write("b.txt", "b");
    struct Case {
        std::vector<std::string> words;
        std::string title;
    };
    const std::vector<Case> cases{
        {{"renameSequential", "--selected", a.string(), "--selected", b.string()}, "序号重命名"},
        {{"renameAddPrefix", "--selected", a.string()}, "添加前缀"},
        {{"renameFindReplace", "--selected", a.string()}, "查找并替换"},
        {{"resizeImages", "--selected", a.string()}, "调整图片大小"},
        {{"copyFilesToFolder", "--selected", a.string()}, "选择目标文件夹"},
        {{"quickOpenTypedPath"}, "打开指定路径"},
    };
    for (const auto& c : cases) {
        const auto run = perform(c.words); // no input at all
        EXPECT_EQ(run.status, 1) << c.words[0];
        EXPECT_NE(run.err.find("无法显示“" + c.title + "”对话框"), std::string::npos)
            << c.words[0] << ": " << run.err;
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir.path()))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        EXPECT_EQ(names, (std::vector<std::string>{"a.txt", "b.txt"})) << c.words[0];
    }
}
