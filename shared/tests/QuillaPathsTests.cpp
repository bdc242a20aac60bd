#include "shared/QuillaPaths.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestEnv.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace quilla;
using quilla::test::ScopedEnv;
using quilla::test::ScopedHome;

TEST(QuillaPaths, FollowXDGVariablesAndTheirDefaults) {
    ScopedHome home;
    EXPECT_EQ(paths::home(), home.home());
    EXPECT_EQ(paths::appSupportDir(), paths::configHome() / "quilla");
    EXPECT_EQ(paths::extensionSupportDir(), paths::configHome() / "quilla" / "finder-extension");
    EXPECT_EQ(paths::primaryQueueDir().filename(), "ActionQueue");
    EXPECT_EQ(paths::appActionLogPath(), paths::stateHome() / "quilla" / "quilla-app-action.log");

    ScopedEnv relative("XDG_CONFIG_HOME", "relative/config"); // relative values are ignored
    EXPECT_EQ(paths::configHome(), home.home() / ".config");
    EXPECT_EQ(paths::extensionLogPath(), home.home() / ".config/quilla/finder-extension/FinderExtension.log");
    ScopedEnv noState("XDG_STATE_HOME", std::nullopt);
    EXPECT_EQ(paths::stateHome(), home.home() / ".local/state");
    ScopedEnv noRuntime("XDG_RUNTIME_DIR", std::nullopt);
    EXPECT_EQ(paths::fallbackQueueDir(), "/tmp/quilla-action-queue-" + std::to_string(::getuid()));
}

TEST(QuillaPaths, UserFoldersComeFromUserDirsWithLocalisedNames) {
    ScopedHome home;
    test::TempDir unused;
    const auto file = paths::configHome() / "user-dirs.dirs";
    std::filesystem::create_directories(file.parent_path());
    FILE* f = std::fopen(file.c_str(), "w");
    std::fputs("# comment\nXDG_DESKTOP_DIR=\"$HOME/桌面\"\nXDG_DOWNLOAD_DIR=\"/srv/downloads\"\n", f);
    std::fclose(f);
    EXPECT_EQ(paths::userDir(paths::UserDir::desktop), home.home() / "桌面");
    EXPECT_EQ(paths::userDir(paths::UserDir::downloads), "/srv/downloads");
    EXPECT_EQ(paths::userDir(paths::UserDir::documents), home.home() / "Documents");
}

TEST(QuillaPaths, PrivateDirectoryCheckRefusesSharedFolders) {
    test::TempDir dir;
    const auto mine = dir / "queue";
    EXPECT_TRUE(paths::ensurePrivateDirectory(mine));
    struct stat info {};
    ::stat(mine.c_str(), &info);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    ::chmod(mine.c_str(), 0777);
    EXPECT_FALSE(paths::isPrivateDirectory(mine));
    std::filesystem::create_directory_symlink(dir.path(), dir / "link");
    EXPECT_FALSE(paths::isPrivateDirectory(dir / "link"));
}
