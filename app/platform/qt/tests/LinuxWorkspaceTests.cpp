#include "app/platform/qt/LinuxWorkspace.h"
#include "app/platform/qt/tests/FakeFileManager.h"
#include "app/platform/qt/tests/FakeShell.h"
#include "app/platform/qt/tests/QtTestSupport.h"
#include "shared/QuillaPaths.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestEnv.h"

#include <QDBusConnection>
#include <QUrl>

#include <gtest/gtest.h>

#include <algorithm>
#include <future>
#include <set>
#include <sstream>

using namespace quilla;
namespace fs = std::filesystem;

namespace {

// A stand-in program that leaves one record file per start: its working directory, then one
// line per argument.
fs::path fakeProgram(const test::TempDir& bin, const std::string& name, const fs::path& records) {
    fs::create_directories(records);
    const auto path =
        bin.write(name, "#!/bin/sh\n{ printf 'cwd=%s\\n' \"$PWD\"; for a in \"$@\"; do printf 'arg=%s\\n' "
                        "\"$a\"; done; } > \"" +
                            records.string() + "/" + name + ".$$.tmp\"\n/bin/mv \"" + records.string() + "/" +
                            name + ".$$.tmp\" \"" + records.string() + "/" + name + ".$$\"\n");
    fs::permissions(path, fs::perms::owner_all);
    return path;
}

// The record files' contents once `count` starts have finished (sorted, so order-free).
std::vector<std::string> waitForRecords(const fs::path& records, std::size_t count) {
    std::vector<std::string> found;
    test::spinUntil([&] {
        found.clear();
        for (const auto& entry : fs::directory_iterator(records)) {
            if (entry.path().extension() != ".tmp")
                found.push_back(test::readText(entry.path()));
        }
        return found.size() >= count;
    });
    std::sort(found.begin(), found.end());
    return found;
}

template <typename T> T fromWorker(std::function<T()> call) {
    auto result = std::async(std::launch::async, std::move(call));
    EXPECT_TRUE(test::spinUntil(
        [&] { return result.wait_for(std::chrono::seconds(0)) == std::future_status::ready; }));
    return result.get();
}

} // namespace

TEST(LinuxWorkspace, TerminalIsTheFirstInstalledOfTheDesktopsChoices) {
    struct Case {
        std::set<std::string> installed;
        std::string expected; // empty: none
        std::vector<std::string> arguments;
    };
    test::TempDir place;
    const std::string dir = place.path().string();
    const std::vector<Case> cases = {
        {{"xterm", "konsole", "kgx", "gnome-terminal", "x-terminal-emulator"}, "x-terminal-emulator", {}},
        {{"xterm", "konsole", "kgx", "gnome-terminal"}, "gnome-terminal", {"--working-directory=" + dir}},
        {{"xterm", "konsole", "kgx"}, "kgx", {"--working-directory=" + dir}},
        {{"xterm", "konsole"}, "konsole", {"--workdir", dir}},
        {{"xterm"}, "xterm", {}},
        {{}, "", {}},
    };
    for (const auto& c : cases) {
        test::TempDir first, second;
        // Spread over two PATH folders; a non-executable file of a better name never counts.
        second.write("gnome-terminal-not-a-program", "");
        fs::permissions(first.write("x-terminal-emulator.txt", ""), fs::perms::owner_all);
        if (!c.installed.contains("gnome-terminal"))
            second.write("gnome-terminal", "#!/bin/sh\n");
        bool odd = false;
        for (const auto& name : c.installed) {
            fs::permissions((odd ? second : first).write(name, "#!/bin/sh\n"), fs::perms::owner_all);
            odd = !odd;
        }
        const auto command = LinuxWorkspace::terminalCommand(place.path(), first.path().string() +
                                                                               "::" + second.path().string());
        if (c.expected.empty()) {
            EXPECT_FALSE(command.has_value());
            continue;
        }
        ASSERT_TRUE(command.has_value()) << c.expected;
        EXPECT_EQ(command->program.filename(), c.expected);
        EXPECT_EQ(command->arguments, c.arguments);
    }
    EXPECT_FALSE(LinuxWorkspace::terminalCommand(place.path(), ""));
}

TEST(LinuxWorkspace, TerminalStartsInTheFolderAndMissingTerminalFails) {
    test::TempDir bin, records, place;
    fakeProgram(bin, "xterm", records.path());
    LinuxWorkspace workspace;
    {
        test::ScopedEnv path("PATH", bin.path().string());
        ASSERT_TRUE(workspace.openTerminal(place.path() / "."));
    }
    const auto seen = waitForRecords(records.path(), 1);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0], "cwd=" + fs::canonical(place.path()).string() + "\n");

    test::TempDir empty;
    test::ScopedEnv path("PATH", empty.path().string());
    std::string error;
    EXPECT_FALSE(workspace.openTerminal(place.path(), &error));
    EXPECT_EQ(error, "没有找到可用的终端应用。");
}

TEST(LinuxWorkspace, ApplicationsThatCannotStartAreNamedInTheMessage) {
    test::TempDir apps;
    const auto broken = apps.write("broken.desktop", "not a desktop entry\n");
    LinuxWorkspace workspace;
    std::string error;
    EXPECT_FALSE(workspace.openWithApplication(broken, {apps.path()}, &error));
    EXPECT_EQ(error, "不是可以启动的应用：" + broken.string());
}

TEST(LinuxWorkspace, FilesURLsAndFoldersWithoutAFileManagerGoToXdgOpen) {
    test::TempDir bin, records, place;
    fakeProgram(bin, "xdg-open", records.path());
    const auto file = place.write("a b.txt", "x");
    test::ScopedEnv path("PATH", bin.path().string());
    LinuxWorkspace workspace;
    EXPECT_TRUE(workspace.open(file));
    EXPECT_TRUE(workspace.openURL("mailto:a@example.org?subject=%E5%8A%9F"));
    EXPECT_TRUE(fromWorker<bool>([&] { return workspace.revealItems({file}); }));
    const auto seen = waitForRecords(records.path(), 3);
    const std::set<std::string> args(seen.begin(), seen.end());
    const std::string cwd = "cwd=" + fs::current_path().string() + "\n";
    EXPECT_TRUE(args.contains(cwd + "arg=" + file.string() + "\n"));
    EXPECT_TRUE(args.contains(cwd + "arg=mailto:a@example.org?subject=%E5%8A%9F\n"));
    // No file manager on this bus: the item's folder is shown instead.
    EXPECT_TRUE(args.contains(cwd + "arg=" + place.path().string() + "\n"));
}

TEST(LinuxWorkspace, FoldersAndRevealGoToTheFileManagerOnTheBus) {
    test::ensureQtApplication();
    if (!QDBusConnection::sessionBus().isConnected())
        GTEST_SKIP() << "no session bus";
    test::FakeFileManager fileManager;
    ASSERT_TRUE(fileManager.registered());
    test::TempDir place;
    const auto folder = place.path() / "我的 文件夹";
    fs::create_directories(folder);
    const auto file = place.write("x.txt", "");
    LinuxWorkspace workspace;
    EXPECT_TRUE(fromWorker<bool>([&] { return workspace.open(folder); }));
    EXPECT_TRUE(fromWorker<bool>([&] { return workspace.revealItems({file, folder}); }));
    const QString folderURI =
        QUrl::fromLocalFile(QString::fromStdString(folder.string())).toString(QUrl::FullyEncoded);
    ASSERT_EQ(fileManager.calls.size(), 2);
    EXPECT_EQ(fileManager.calls[0], QStringLiteral("ShowFolders ") + folderURI);
    EXPECT_TRUE(folderURI.contains(QStringLiteral("%20")));
    EXPECT_EQ(fileManager.calls[1],
              QStringLiteral("ShowItems file://") + QString::fromStdString(file.string()) + u' ' + folderURI);
}

TEST(LinuxWorkspace, TheApplicationsFolderIsTheShellsApplicationGridWhereThereIsOne) {
    test::ensureQtApplication();
    if (!QDBusConnection::sessionBus().isConnected())
        GTEST_SKIP() << "no session bus";
    test::FakeFileManager fileManager;
    ASSERT_TRUE(fileManager.registered());
    const auto applications = paths::applicationsDir();
    if (!fs::is_directory(applications))
        GTEST_SKIP() << applications << " does not exist";
    LinuxWorkspace workspace;
    {
        test::FakeShell shell;
        ASSERT_TRUE(shell.registered());
        EXPECT_TRUE(fromWorker<bool>([&] { return workspace.open(applications); }));
        EXPECT_TRUE(fromWorker<bool>([&] { return workspace.open(applications / "." / ""); }));
        EXPECT_EQ(shell.applicationGridShown, 2);
        EXPECT_TRUE(fileManager.calls.isEmpty());
    }
    // Elsewhere (no GNOME Shell on the bus) the folder opens as any other.
    EXPECT_TRUE(fromWorker<bool>([&] { return workspace.open(applications); }));
    ASSERT_EQ(fileManager.calls.size(), 1);
    EXPECT_TRUE(
        fileManager.calls[0].startsWith(QStringLiteral("ShowFolders file:///usr/share/applications")));
}

TEST(LinuxWorkspace, DesktopEntriesGetTheItemsTheirFieldCodesAskFor) {
    struct Case {
        std::string fieldCode;
        std::vector<std::string> starts; // each start's items, newline-joined, sorted
    };
    test::TempDir place;
    const auto one = place.write("one.txt", "1");
    const auto two = place.write("两 2.txt", "2");
    const std::string both = one.string() + "\n" + two.string();
    const std::vector<Case> cases = {
        {"%F", {both}},
        {"%f", {one.string(), two.string()}},
        {"%U", {both}},
        {"%u", {one.string(), two.string()}},
    };
    for (const auto& c : cases) {
        test::TempDir bin, records, apps;
        const auto program = fakeProgram(bin, "viewer", records.path());
        const auto entry = apps.write(
            "viewer.desktop", "[Desktop Entry]\nType=Application\nName=Viewer\nExec=" + program.string() +
                                  " " + c.fieldCode + "\n");
        LinuxWorkspace workspace;
        std::string error;
        ASSERT_TRUE(workspace.openWithApplication(entry, {one, two}, &error)) << error;
        std::vector<std::string> starts;
        for (const auto& record : waitForRecords(records.path(), c.starts.size())) {
            // GIO may hand local files to %u/%U as paths or as file URIs; both name the same item.
            std::string items;
            std::istringstream lines(record);
            for (std::string line; std::getline(lines, line);) {
                if (line.rfind("arg=", 0) != 0)
                    continue;
                const QString arg = QString::fromStdString(line.substr(4));
                const QUrl url(arg);
                items += (items.empty() ? "" : "\n") +
                         (url.isLocalFile() ? url.toLocalFile().toStdString() : arg.toStdString());
            }
            starts.push_back(items);
        }
        std::sort(starts.begin(), starts.end());
        auto expected = c.starts;
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(starts, expected) << c.fieldCode;
    }
    test::TempDir apps;
    std::string error;
    EXPECT_FALSE(
        LinuxWorkspace().openWithApplication(apps.write("broken.desktop", "not an entry"), {one}, &error));
    EXPECT_FALSE(error.empty());
}
