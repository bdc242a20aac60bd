#include "app/core/operations/copymove/FileTransfer.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/xattr.h>
#include <unistd.h>

using namespace quilla;
using quilla::test::readText;
using quilla::test::TempDir;
namespace fs = std::filesystem;

namespace {

void makeSocket(const fs::path& path) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path.c_str());
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::close(fd);
}

void tag(const fs::path& path, const std::string& value) {
    ASSERT_EQ(::setxattr(path.c_str(), "user.xdg.tags", value.data(), value.size(), 0), 0) << path;
}

std::string tagOf(const fs::path& path) {
    std::string value(256, '\0');
    const auto size = ::getxattr(path.c_str(), "user.xdg.tags", value.data(), value.size());
    return size < 0 ? "(none)" : value.substr(0, static_cast<std::size_t>(size));
}

} // namespace

TEST(FileTransfer, CopiesAndMovesAcrossFileSystemsKeepExtendedAttributes) {
    TempDir dir;
    dir.write("tree/inner/f", "data");
    if (::setxattr((dir / "tree").c_str(), "user.probe", "1", 1, 0) != 0) {
        GTEST_SKIP() << "this file system keeps no user attributes";
    }
    tag(dir / "tree", "folder");
    tag(dir / "tree/inner/f", "red,work");
    fileops::copyItem(dir / "tree", dir / "copy");
    EXPECT_EQ(tagOf(dir / "copy"), "folder");
    EXPECT_EQ(tagOf(dir / "copy/inner/f"), "red,work");
    EXPECT_EQ(tagOf(dir / "copy/inner"), "(none)");

    const fs::path target = fs::path("/dev/shm") / ("quilla-tags-" + std::to_string(::getpid()));
    struct stat here {
    }, shm{};
    std::error_code ec;
    if (::stat(dir.path().c_str(), &here) != 0 || ::stat("/dev/shm", &shm) != 0 ||
        here.st_dev == shm.st_dev || !fs::create_directory(target, ec) ||
        ::setxattr(target.c_str(), "user.probe", "1", 1, 0) != 0) {
        fs::remove_all(target, ec);
        return; // no second file system with user attributes at hand
    }
    fileops::moveItem(dir / "tree", target / "tree");
    EXPECT_EQ(tagOf(target / "tree/inner/f"), "red,work");
    fs::remove_all(target);
}

TEST(FileTransfer, CopyKeepsTreeLinksModesAndTimes) {
    TempDir dir;
    const auto script = dir.write("tree/bin/run.sh", "#!/bin/sh\n");
    fs::permissions(script, fs::perms::owner_all | fs::perms::group_read);
    dir.write("tree/big.bin", std::string(3 << 20, 'z'));
    fs::create_directory_symlink("bin", dir / "tree/link");
    fs::create_directories(dir / "tree/empty");
    const auto old = fs::file_time_type::clock::now() - std::chrono::hours(48);
    fs::last_write_time(script, old);

    fileops::copyItem(dir / "tree", dir / "copy");
    EXPECT_EQ(readText(dir / "copy/bin/run.sh"), "#!/bin/sh\n");
    EXPECT_EQ(fs::file_size(dir / "copy/big.bin"), std::size_t{3} << 20);
    EXPECT_TRUE(fs::is_symlink(dir / "copy/link"));
    EXPECT_EQ(fs::read_symlink(dir / "copy/link"), "bin");
    EXPECT_TRUE(fs::is_directory(dir / "copy/empty"));
    EXPECT_EQ(fs::status(dir / "copy/bin/run.sh").permissions(), fs::perms::owner_all | fs::perms::group_read);
    EXPECT_EQ(fs::last_write_time(dir / "copy/bin/run.sh"), old);
}

TEST(FileTransfer, NeverReplacesAndRemovesAHalfMadeCopy) {
    TempDir dir;
    dir.write("a", "new");
    dir.write("b", "old");
    EXPECT_THROW(fileops::copyItem(dir / "a", dir / "b"), fs::filesystem_error);
    EXPECT_THROW(fileops::moveItem(dir / "a", dir / "b"), fs::filesystem_error);
    EXPECT_EQ(readText(dir / "b"), "old");
    EXPECT_EQ(readText(dir / "a"), "new");

    dir.write("tree/first", "1");
    makeSocket(dir / "tree/zz-socket");
    EXPECT_THROW(fileops::copyItem(dir / "tree", dir / "tree copy"), fs::filesystem_error);
    EXPECT_FALSE(fs::exists(dir / "tree copy"));
}

TEST(FileTransfer, MovesAcrossFileSystemsByCopying) {
    TempDir dir;
    struct stat here {}, shm {};
    if (::stat(dir.path().c_str(), &here) != 0 || ::stat("/dev/shm", &shm) != 0 || here.st_dev == shm.st_dev ||
        ::access("/dev/shm", W_OK) != 0) {
        GTEST_SKIP() << "no second file system at hand";
    }
    dir.write("tree/inner/f", "data");
    const fs::path target = fs::path("/dev/shm") / ("quilla-move-" + std::to_string(::getpid()));
    fileops::moveItem(dir / "tree", target);
    EXPECT_EQ(readText(target / "inner/f"), "data");
    EXPECT_FALSE(fs::exists(dir / "tree"));
    fs::remove_all(target);
}

TEST(FileTransfer, InsideMeansTheRealPath) {
    TempDir dir;
    fs::create_directories(dir / "a/b");
    fs::create_directory_symlink(dir / "a/b", dir / "alias");
    EXPECT_TRUE(fileops::isSameOrInside(dir / "a", dir / "a"));
    EXPECT_TRUE(fileops::isSameOrInside(dir / "a/b/", dir / "a"));
    EXPECT_TRUE(fileops::isSameOrInside(dir / "alias", dir / "a"));
    EXPECT_TRUE(fileops::isSameOrInside(dir / "a/b/not-yet", dir / "a/./b"));
    EXPECT_FALSE(fileops::isSameOrInside(dir / "ab", dir / "a"));
    EXPECT_FALSE(fileops::isSameOrInside(dir / "a", dir / "a/b"));
}
