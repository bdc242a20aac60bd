#include "app/core/executor/FinderActionExecutionError.h"
#include "app/core/executor/FinderActionExecutor.h"
#include "app/core/lists/CustomDestinationPersistence.h"
#include "app/core/operations/paths/ApplicationOpener.h"
#include "app/core/operations/paths/QuickOpen.h"
#include "app/core/tests/fakes/FailureText.h"
#include "app/core/tests/fakes/FakePlatform.h"
#include "shared/FileIO.h"
#include "shared/QuillaPaths.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestEnv.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <fstream>
#include <mutex>
#include <sys/stat.h>

using namespace quilla;
namespace fs = std::filesystem;
using test::TempDir;

namespace {

using quilla::test::failureOf;

std::string perform(test::FakePlatform& platform, const ActionRequest& request) {
    return failureOf([&] { EXPECT_TRUE(FinderActionExecutor(platform.context()).perform(request).empty()); });
}

std::vector<std::string> logLines() {
    std::ifstream in(paths::appActionLogPath());
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line.substr(line.find("] ") + 2));
    }
    return lines;
}

fs::path writeDesktopEntry(const fs::path& path, const std::string& name) {
    fs::create_directories(path.parent_path());
    std::ofstream(path) << "[Desktop Entry]\nType=Application\nName=" << name << "\nExec=true %F\n";
    return path;
}

/// A workspace whose application start blocks until the test lets it go.
class StuckWorkspace final : public Workspace {
public:
    bool open(const fs::path&, std::string*) override { return true; }
    bool revealItems(const std::vector<fs::path>&, std::string*) override { return true; }
    bool openURL(const std::string&, std::string*) override { return true; }
    bool openTerminal(const fs::path&, std::string*) override { return true; }
    bool openWithApplication(const fs::path&, const std::vector<fs::path>&, std::string*) override {
        std::unique_lock lock(mutex);
        released.wait(lock, [&] { return letGo; });
        finished = true;
        released.notify_all();
        return true;
    }
    void release() {
        std::unique_lock lock(mutex);
        letGo = true;
        released.notify_all();
        released.wait(lock, [&] { return finished; });
    }

private:
    std::mutex mutex;
    std::condition_variable released;
    bool letGo = false;
    bool finished = false;
};

} // namespace

TEST(ApplicationOpener, StartsAreLoggedAndFailuresBecomeCommandFailed) {
    test::ScopedHome home;
    TempDir dir;
    const auto app = writeDesktopEntry(dir / "viewer.desktop", "Viewer");
    const auto item = dir.write("a \"b\".txt", "");
    test::FakePlatform platform;
    const ApplicationOpener opener(platform.context());

    opener.openURLs({item}, app);
    EXPECT_EQ(platform.workspace.calls, std::vector<std::string>{"launch " + app.string() + " " + item.string()});

    platform.workspace.fails = true;
    platform.workspace.failure = "no such program";
    EXPECT_EQ(failureOf([&] { opener.openURLs({item}, app); }), "no such program");
    platform.workspace.failure = "";
    EXPECT_EQ(failureOf([&] { opener.openURLs({item}, app); }), "系统命令执行失败。");

    const std::string subject = " app=" + app.string() + " urls=[\"" + dir.path().string() + "/a \\\"b\\\".txt\"]";
    EXPECT_EQ(logLines(), (std::vector<std::string>{
                              "open application succeeded" + subject,
                              "open application failed" + subject + " error=no such program",
                              "open application failed" + subject + " error=",
                          }));
}

TEST(ApplicationOpener, AStartThatHangsTimesOut) {
    test::ScopedHome home;
    test::FakePlatform platform;
    StuckWorkspace stuck;
    ExecutorContext context{platform.pasteboard, stuck, platform.prompts, platform.finderScripting, platform.trash,
                            [] { return AppPreferences{}; }};
    const ApplicationOpener opener(context, std::chrono::milliseconds(50));
    EXPECT_EQ(failureOf([&] { opener.openURLs({"/x"}, "/apps/slow.desktop"); }), "打开应用超时。");
    EXPECT_EQ(logLines(), std::vector<std::string>{"open application timed out app=/apps/slow.desktop urls=[\"/x\"]"});
    stuck.release(); // the late completion is ignored
}

TEST(ApplicationOpener, TerminalOpensTheTargetFolder) {
    test::ScopedHome home;
    TempDir dir;
    const auto file = dir.write("src/main.cpp", "");
    test::FakePlatform platform;
    EXPECT_EQ(perform(platform, {.actionID = "openInTerminal", .selectedPaths = {file}}), "no failure");
    EXPECT_EQ(platform.workspace.calls, std::vector<std::string>{"terminal " + (dir / "src").string()});

    platform.workspace.fails = true; // no terminal installed
    EXPECT_EQ(perform(platform, {.actionID = "openInTerminal", .targetedPath = dir.path()}), "没有找到 Terminal 应用。");
    EXPECT_EQ(perform(platform, {.actionID = "openInTerminal"}), "没有找到可以执行操作的 Finder 目录。");
}

TEST(ApplicationOpener, EditorsGetTheFolderFromTheirEntryOrTheirProgram) {
    test::ScopedHome home;
    TempDir dir;
    TempDir bin;
    const test::ScopedEnv dataDirs("XDG_DATA_DIRS", (dir / "no-system-entries").string());
    const test::ScopedEnv path("PATH", bin.path().string());
    const auto file = dir.write("proj/a.txt", "");
    test::FakePlatform platform;

    // Neither an entry nor a program.
    EXPECT_EQ(perform(platform, {.actionID = "openInCursor", .selectedPaths = {file}}), "没有找到 Cursor 应用。");

    // The installed entry gets the file's folder, never the file.
    const auto code = writeDesktopEntry(paths::dataHome() / "applications/code.desktop", "Visual Studio Code");
    EXPECT_EQ(perform(platform, {.actionID = "openInVSCode", .selectedPaths = {file}}), "no failure");
    EXPECT_EQ(platform.workspace.calls.back(), "launch " + code.string() + " " + (dir / "proj").string());

    // A program on PATH only: a launcher entry is written for it.
    const auto program = bin.write("cursor", "#!/bin/sh\n");
    ::chmod(program.c_str(), 0755);
    EXPECT_EQ(perform(platform, {.actionID = "openInCursor", .targetedPath = dir / "proj"}), "no failure");
    const auto launcher = paths::stateHome() / "quilla/launchers/cursor.desktop";
    EXPECT_EQ(platform.workspace.calls.back(), "launch " + launcher.string() + " " + (dir / "proj").string());
    EXPECT_NE(test::readText(launcher).find("\nExec=\"" + program.string() + "\" %F\n"), std::string::npos);
}

TEST(ApplicationOpener, LauncherEntriesQuoteAwkwardProgramPaths) {
    EXPECT_EQ(QuillaExternalApplication::launcherEntryText("X", "/opt/my \"app\"/$bin/100%/a\\b").value(),
              "[Desktop Entry]\nType=Application\nName=X\nExec=\"/opt/my "
              "\\\\\"app\\\\\"/\\\\$bin/100%%/a\\\\\\\\b\" %F\n"
              "Terminal=false\nNoDisplay=true\n");
    EXPECT_FALSE(QuillaExternalApplication::launcherEntryText("X", "/opt/line\nbreak").has_value());
}

TEST(ApplicationOpener, FavouriteApplicationsNeedADesktopEntry) {
    test::ScopedHome home;
    TempDir dir;
    const auto app = writeDesktopEntry(paths::dataHome() / "applications/viewer.desktop", "Viewer");
    const auto a = dir.write("a.txt", "");
    const auto b = dir.write("b.txt", "");
    test::FakePlatform platform;
    const ActionRequest base{.actionID = "openWithApplicationPath", .selectedPaths = {a, b}};

    auto request = base;
    EXPECT_EQ(perform(platform, request), "没有找到 指定应用 应用。");
    request.destinationPath = dir / "Gone.desktop";
    EXPECT_EQ(perform(platform, request), "没有找到 Gone.desktop 应用。");
    request.destinationPath = dir.path(); // a folder is no application here
    EXPECT_EQ(perform(platform, request), "没有找到 " + dir.path().filename().string() + " 应用。");

    request.destinationPath = app;
    EXPECT_EQ(perform(platform, request), "no failure");
    EXPECT_EQ(platform.workspace.calls.back(), "launch " + app.string() + " " + a.string() + " " + b.string());
    EXPECT_EQ(logLines().front(), "open with application app=" + app.string() + " urls=[\"" + a.string() + "\", \"" +
                                      b.string() + "\"]");

    EXPECT_EQ(perform(platform, {.actionID = "openWithApplicationPath", .targetedPath = dir.path(),
                                 .destinationPath = app}),
              "no failure");
    EXPECT_EQ(platform.workspace.calls.back(), "launch " + app.string() + " " + dir.path().string());
    EXPECT_EQ(perform(platform, {.actionID = "openWithApplicationPath", .destinationPath = app}),
              "请先在 Finder 中选择文件。");
    EXPECT_TRUE(platform.workspace.calls.size() == 2u);
}

TEST(ApplicationOpener, OpenWithStartsOnlyListedOrInstalledApplications) {
    test::ScopedHome home;
    TempDir dir;
    const auto file = dir.write("a.txt", "");
    const auto planted = writeDesktopEntry(dir / "planted.desktop", "Planted");
    const auto applications = paths::dataHome() / "applications";
    const auto installed = writeDesktopEntry(applications / "sub/tool.desktop", "Tool");
    writeDesktopEntry(paths::dataHome() / "beside.desktop", "Beside");
    fs::create_directory_symlink(dir.path(), applications / "linked");
    test::FakePlatform platform;
    auto openWith = [&](const fs::path& application) {
        return perform(
            platform,
            {.actionID = "openWithApplicationPath", .selectedPaths = {file}, .destinationPath = application});
    };

    // Written by whoever could put a file into a queue: never started.
    EXPECT_EQ(openWith(planted), "没有找到 planted.desktop 应用。");
    EXPECT_EQ(openWith(applications / "../beside.desktop"), "没有找到 beside.desktop 应用。");
    EXPECT_EQ(openWith(applications / "linked/planted.desktop"), "没有找到 planted.desktop 应用。");
    EXPECT_TRUE(platform.workspace.calls.empty());

    EXPECT_EQ(openWith(installed), "no failure");
    // Chosen by the user in the "用应用打开" list: started wherever it lives.
    DestinationsByKind lists{{"openApplication", {{"p", "Planted", planted.string()}}}};
    ASSERT_TRUE(writeFileAtomically(CustomDestinationPersistence::applicationCopy(),
                                    plist::toXML(CustomDestinationPersistence::encode(lists)), true));
    EXPECT_EQ(openWith(planted), "no failure");
    EXPECT_EQ(platform.workspace.calls.size(), 2u);
}

TEST(Reveal, FoldersOpenAndOtherItemsAreSelected) {
    test::ScopedHome home;
    TempDir dir;
    const auto folder = dir / "folder";
    fs::create_directory(folder);
    const auto file = dir.write("file.txt", "");
    test::FakePlatform platform;

    EXPECT_EQ(perform(platform, {.actionID = "revealInFinder", .targetedPath = folder}), "请先在 Finder 中选择文件。");
    EXPECT_EQ(perform(platform, {.actionID = "revealInFinder", .selectedPaths = {folder, file}}), "no failure");
    EXPECT_EQ(platform.workspace.calls.back(), "reveal " + folder.string() + " " + file.string());

    // The clipboard holds a folder and a file on two lines.
    platform.workspace.calls.clear();
    platform.pasteboard.text = file.string() + "\n" + folder.string() + "\n";
    EXPECT_EQ(perform(platform, {.actionID = "quickOpenClipboardPath"}), "no failure");
    EXPECT_EQ(platform.workspace.calls, (std::vector<std::string>{"open " + folder.string(), "reveal " + file.string()}));

    // File URLs on the clipboard win over its text; missing ones are dropped.
    platform.workspace.calls.clear();
    platform.pasteboard.filePaths = {(dir / "gone").string(), file.string()};
    EXPECT_EQ(perform(platform, {.actionID = "quickOpenClipboardPath"}), "no failure");
    EXPECT_EQ(platform.workspace.calls, std::vector<std::string>{"reveal " + file.string()});

    platform.pasteboard.filePaths.clear();
    platform.pasteboard.text = std::nullopt;
    EXPECT_EQ(perform(platform, {.actionID = "quickOpenClipboardPath"}), "剪贴板里没有可打开的路径。");
    platform.pasteboard.text = "  \n/definitely/missing\n";
    EXPECT_EQ(perform(platform, {.actionID = "quickOpenClipboardPath"}), "剪贴板里没有可打开的路径。");
}

TEST(QuickOpen, TypedPaths) {
    test::ScopedHome home;
    fs::create_directories(home.home() / "Desktop/my folder");
    std::ofstream(home.home() / "Desktop/my file") << "";
    test::FakePlatform platform;
    platform.prompts.texts = {"  '~/Desktop/my file'\n", "~/Desktop/my\\ folder", "  ~/Desktop/nope  ", std::nullopt};

    EXPECT_EQ(perform(platform, {.actionID = "quickOpenTypedPath"}), "no failure");
    EXPECT_EQ(perform(platform, {.actionID = "quickOpenTypedPath"}), "no failure");
    EXPECT_EQ(perform(platform, {.actionID = "quickOpenTypedPath"}), "路径不可用：~/Desktop/nope");
    EXPECT_EQ(perform(platform, {.actionID = "quickOpenTypedPath"}), "no failure"); // cancelled
    EXPECT_EQ(platform.workspace.calls, (std::vector<std::string>{
                                            "reveal " + (home.home() / "Desktop/my file").string(),
                                            "open " + (home.home() / "Desktop/my folder").string(),
                                        }));
    EXPECT_EQ(platform.prompts.asked.front(), "打开指定路径 | 输入要打开的文件或文件夹路径。");
}

TEST(QuickOpen, PlacesFollowTheUserFolders) {
    test::ScopedHome home;
    fs::create_directories(paths::configHome());
    std::ofstream(paths::configHome() / "user-dirs.dirs") << "XDG_DESKTOP_DIR=\"$HOME/桌面\"\n";
    fs::create_directories(home.home() / "桌面");
    fs::create_directories(home.home() / "Downloads");
    EXPECT_EQ(QuickOpen::defaultQuickOpenURL("quickOpenApplications"), fs::path("/usr/share/applications"));
    EXPECT_EQ(QuickOpen::defaultQuickOpenURL("somethingElse"), home.home());

    test::FakePlatform platform;
    EXPECT_EQ(perform(platform, {.actionID = "quickOpenDesktop"}), "no failure");
    EXPECT_EQ(perform(platform, {.actionID = "quickOpenDownloads"}), "no failure");
    EXPECT_EQ(perform(platform, {.actionID = "quickOpenHome"}), "no failure");
    EXPECT_EQ(perform(platform, {.actionID = "quickOpenPath", .destinationPath = home.home() / "Downloads"}),
              "no failure");
    EXPECT_EQ(platform.workspace.calls, (std::vector<std::string>{
                                            "open " + (home.home() / "桌面").string(),
                                            "open " + (home.home() / "Downloads").string(),
                                            "open " + home.home().string(),
                                            "open " + (home.home() / "Downloads").string(),
                                        }));
    EXPECT_EQ(perform(platform, {.actionID = "quickOpenDocuments"}), "没有找到可以执行操作的 Finder 目录。");
    EXPECT_EQ(perform(platform, {.actionID = "quickOpenPath", .destinationPath = home.home() / "gone"}),
              "没有找到可以执行操作的 Finder 目录。");
}
