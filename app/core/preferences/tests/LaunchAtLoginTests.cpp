#include "app/core/DesktopEntry.h"
#include "app/core/preferences/AppPreferencesPersistence.h"
#include "app/core/preferences/AppPreferencesStore.h"
#include "app/core/preferences/AppVersion.h"
#include "app/core/preferences/DesktopExecLine.h"
#include "app/core/preferences/LaunchAtLoginController.h"
#include "app/core/preferences/LoginLaunch.h"
#include "shared/QuillaPaths.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestEnv.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace quilla;
namespace fs = std::filesystem;

TEST(LaunchAtLoginController, AutostartEntryIsWrittenAndRemoved) {
    test::ScopedHome home;
    LaunchAtLoginController controller;
    EXPECT_EQ(controller.entryFile(), paths::configHome() / "autostart/app.kelvarin.Quilla.desktop");
    EXPECT_FALSE(controller.isEnabled());

    ASSERT_TRUE(controller.setEnabled(true));
    EXPECT_TRUE(controller.isEnabled());
    const std::string text = test::readText(controller.entryFile());
    // The session's PATH need not hold quilla: the entry names this very program by its full path.
    const auto self = fs::read_symlink("/proc/self/exe");
    EXPECT_EQ(controller.executable(), self);
    EXPECT_NE(text.find("\nExec=" + self.string() + " --login-item\n"), std::string::npos) << text;
    EXPECT_TRUE(text.starts_with("[Desktop Entry]\n"));

    ASSERT_TRUE(controller.setEnabled(false));
    EXPECT_FALSE(fs::exists(controller.entryFile()));
    EXPECT_TRUE(controller.setEnabled(false)); // already off: nothing to do
}

TEST(LaunchAtLoginController, AHiddenEntryCountsAsOffAndIsReplacedWhenEnabling) {
    test::ScopedHome home;
    LaunchAtLoginController controller;
    fs::create_directories(controller.entryFile().parent_path());
    std::ofstream(controller.entryFile())
        << "[Desktop Entry]\nType=Application\nExec=quilla --login-item\nHidden=true\n";
    EXPECT_FALSE(controller.isEnabled());

    // Off already: a user's Hidden copy is left alone.
    ASSERT_TRUE(controller.setEnabled(false));
    EXPECT_TRUE(fs::exists(controller.entryFile()));

    ASSERT_TRUE(controller.setEnabled(true));
    EXPECT_TRUE(controller.isEnabled());
    EXPECT_EQ(test::readText(controller.entryFile()),
              LaunchAtLoginController::entryText(controller.executable()));
}

TEST(LaunchAtLoginController, AnUnwritableAutostartFolderIsAnErrorAndTheStoreRollsBack) {
    test::ScopedHome home;
    // A file where the autostart folder should be makes registering fail.
    fs::create_directories(paths::configHome());
    std::ofstream(paths::configHome() / "autostart") << "in the way";
    LaunchAtLoginController controller;
    std::string error;
    EXPECT_FALSE(controller.setEnabled(true, &error));
    EXPECT_NE(error.find("autostart"), std::string::npos) << error;

    AppPreferencesStore store(controller);
    store.setLaunchAtLogin(true);
    EXPECT_FALSE(store.launchAtLogin());
    EXPECT_FALSE(fs::exists(AppPreferencesPersistence::fileURL()));
}

TEST(LaunchAtLoginController, TheStoreReadsTheRealEntryAtStart) {
    test::ScopedHome home;
    LaunchAtLoginController controller;
    ASSERT_TRUE(controller.registerItem());
    AppPreferencesStore store(controller);
    EXPECT_TRUE(store.launchAtLogin());
    EXPECT_TRUE(AppPreferencesPersistence::load().launchAtLogin);

    store.setLaunchAtLogin(false);
    EXPECT_FALSE(controller.isEnabled());
    EXPECT_FALSE(AppPreferencesPersistence::load().launchAtLogin);
}

TEST(LaunchAtLoginController, AnyExecutablePathSurvivesTheEntryRoundTrip) {
    test::ScopedHome home;
    const std::string paths[] = {
        "/usr/local/bin/quilla", "/opt/Quilla Apps/bin/quilla",
        "/home/u/下载/quilla",   R"(/tmp/a"b`c$d\e/quilla)",
        "/tmp/100%/quilla",      "/tmp/tab\there/quilla",
        "/tmp/new\nline/quilla",
    };
    for (const auto& path : paths) {
        LaunchAtLoginController controller(paths::autostartDir() / "q.desktop", path);
        ASSERT_TRUE(controller.registerItem());
        const auto entry = DesktopEntry::read(controller.entryFile());
        ASSERT_TRUE(entry.has_value()) << path;
        EXPECT_EQ(DesktopExecLine::program(entry->exec), path) << entry->exec;
        EXPECT_TRUE(entry->exec.ends_with(" --login-item")) << entry->exec;
    }
    const std::pair<std::string, std::optional<std::string>> lines[] = {
        {"  quilla --login-item", "quilla"}, {"\"/a b/q\" --x", "/a b/q"},
        {"\"/a b/q --x", std::nullopt},      {"", std::nullopt},
        {"/x/50%%/q %u", "/x/50%/q"},
    };
    for (const auto& [exec, program] : lines) {
        EXPECT_EQ(DesktopExecLine::program(exec), program) << exec;
    }
}

TEST(LaunchAtLoginController, AStaleEntryIsPointedAtThisExecutableAndOthersAreLeftAlone) {
    test::ScopedHome home;
    const auto self = LaunchAtLoginController::currentExecutable();
    ASSERT_TRUE(self.is_absolute());
    const auto notExecutable = home.home() / "plain file";
    std::ofstream(notExecutable) << "x";
    struct Case {
        const char* why;
        std::optional<std::string> entry; // nothing: no entry file
        bool rewritten;
    };
    const Case cases[] = {
        {"no entry: the login item is off", std::nullopt, false},
        {"an older entry relying on PATH", "Exec=quilla --login-item\n", true},
        {"the program was removed", "Exec=/nonexistent/bin/quilla --login-item\n", true},
        {"the path is no program", "Exec=\"" + notExecutable.string() + "\" --login-item\n", true},
        {"a damaged Exec value", "Exec=\"/opt/q --login-item\n", true},
        {"the program exists", "Exec=" + self.string() + " --login-item\n", false},
        {"Hidden: the user turned it off", "Exec=/nonexistent/quilla\nHidden=true\n", false},
    };
    for (const auto& c : cases) {
        LaunchAtLoginController controller(paths::autostartDir() / "app.kelvarin.Quilla.desktop", self);
        fs::remove(controller.entryFile());
        std::string before;
        if (c.entry) {
            fs::create_directories(controller.entryFile().parent_path());
            before = "[Desktop Entry]\nType=Application\n" + *c.entry;
            std::ofstream(controller.entryFile()) << before;
        }
        EXPECT_EQ(controller.repairStaleEntry(), c.rewritten) << c.why;
        if (c.rewritten) {
            EXPECT_EQ(test::readText(controller.entryFile()), LaunchAtLoginController::entryText(self))
                << c.why;
        } else {
            EXPECT_EQ(fs::exists(controller.entryFile()), c.entry.has_value()) << c.why;
            if (c.entry) {
                EXPECT_EQ(test::readText(controller.entryFile()), before) << c.why;
            }
        }
    }
}

TEST(LoginLaunch, ArgumentOrEnabledItemShortlyAfterBoot) {
    test::ScopedHome home;
    LaunchAtLoginController on;
    ASSERT_TRUE(on.registerItem());
    LaunchAtLoginController off(home.home() / "nowhere.desktop");
    struct Case {
        std::vector<std::string> arguments;
        const LoginItem* item;
        std::optional<double> uptime;
        bool expected;
    };
    const Case cases[] = {
        {{"quilla", "--login-item"}, &off, 5000.0, true},
        {{"quilla"}, &on, 179.9, true},
        {{"quilla"}, &on, 180.0, false},
        {{"quilla"}, &off, 10.0, false},
        {{"quilla"}, &on, std::nullopt, false},
        {{"quilla", "--login-items"}, &off, 10.0, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(wasLikelyLaunchedAtLogin(c.arguments, *c.item, c.uptime), c.expected)
            << c.arguments.back() << " " << c.uptime.value_or(-1);
    }
    const auto uptime = systemUptimeSeconds();
    ASSERT_TRUE(uptime.has_value());
    EXPECT_GT(*uptime, 0.0);
}

TEST(AppVersion, ComesFromTheBuild) {
    EXPECT_EQ(AppVersion::shortVersion(), QUILLA_TEST_VERSION);
    EXPECT_EQ(AppVersion::build(), std::string(QUILLA_TEST_BUILD).empty() ? "Unknown" : QUILLA_TEST_BUILD);
}
