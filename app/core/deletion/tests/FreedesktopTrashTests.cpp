#include "app/core/deletion/tests/DeletionTestSupport.h"
#include "app/core/platform/FreedesktopTrash.h"
#include "shared/QuillaPaths.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestEnv.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace quilla;
using quilla::test::TempDir;
namespace fs = std::filesystem;

namespace {

std::string percentDecoded(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size()) {
            out.push_back(static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16)));
            i += 2;
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}

// The keys of a .trashinfo file, read back the way a file manager restoring the item would.
std::map<std::string, std::string> readTrashInfo(const fs::path& file) {
    std::map<std::string, std::string> keys;
    std::istringstream lines(quilla::test::readText(file));
    std::string line;
    std::getline(lines, line);
    keys["header"] = line;
    while (std::getline(lines, line)) {
        const auto eq = line.find('=');
        keys[line.substr(0, eq)] = line.substr(eq + 1);
    }
    return keys;
}

std::string trashFailure(const fs::path& item) {
    std::string error;
    return FreedesktopTrash().trashItem(item, &error) ? "" : error;
}

} // namespace

TEST(FreedesktopTrash, HomeTrashKeepsTheItemAndAnInfoFileThatLeadsBack) {
    quilla::test::ScopedHome home;
    TempDir dir;
    const auto item = dir.write("报告 #1%.txt", "content");
    const auto before = std::time(nullptr);
    EXPECT_EQ(trashFailure(item), "");

    const auto trash = paths::homeTrashDir();
    EXPECT_FALSE(fs::exists(item));
    EXPECT_EQ(quilla::test::readText(trash / "files/报告 #1%.txt"), "content");
    const auto info = readTrashInfo(trash / "info/报告 #1%.txt.trashinfo");
    EXPECT_EQ(info.at("header"), "[Trash Info]");
    EXPECT_EQ(percentDecoded(info.at("Path")), item.string());
    EXPECT_EQ(info.at("Path").find_first_of(" #"), std::string::npos) << info.at("Path");
    std::tm local{};
    ASSERT_NE(::strptime(info.at("DeletionDate").c_str(), "%Y-%m-%dT%H:%M:%S", &local), nullptr);
    local.tm_isdst = -1;
    EXPECT_LE(std::abs(std::mktime(&local) - before), 5) << "local time, not UTC";
}

TEST(FreedesktopTrash, ClashingNamesGetNumbersAndLongNamesStillFit) {
    quilla::test::ScopedHome home;
    TempDir dir;
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(trashFailure(dir.write("dup/a.txt", std::to_string(i))), "");
    }
    const auto files = paths::homeTrashDir() / "files";
    EXPECT_EQ(quilla::test::readText(files / "a.txt"), "0");
    EXPECT_EQ(quilla::test::readText(files / "a.txt.2"), "1");
    EXPECT_EQ(quilla::test::readText(files / "a.txt.3"), "2");
    EXPECT_TRUE(fs::exists(paths::homeTrashDir() / "info/a.txt.3.trashinfo"));

    std::string longName;
    for (int i = 0; i < 83; ++i) {
        longName += "名"; // 249 bytes: with ".trashinfo" it would pass the 255-byte limit
    }
    EXPECT_EQ(trashFailure(dir.write(longName, "x")), "");
    EXPECT_FALSE(fs::exists(dir / longName));
}

TEST(FreedesktopTrash, ALinkIsTrashedAsTheLinkAndAMissingItemFails) {
    quilla::test::ScopedHome home;
    TempDir dir;
    const auto target = dir.write("target/keep.txt", "keep");
    fs::create_directory_symlink(dir / "target", dir / "link");
    EXPECT_EQ(trashFailure(dir / "link"), "");
    EXPECT_TRUE(fs::is_symlink(paths::homeTrashDir() / "files/link"));
    EXPECT_EQ(quilla::test::readText(target), "keep");

    EXPECT_EQ(trashFailure(dir / "nothing"), "所选文件不存在或无法访问：" + (dir / "nothing").string());
}

TEST(FreedesktopTrash, OtherMountsUseTheirOwnTrashOrFailWithoutDeleting) {
    quilla::test::ScopedHome home;
    TempDir dir;
    const auto mount = dir / "usb";
    fs::create_directory(mount);
    const auto uid = std::to_string(::getuid());
    const auto result = quilla::test::inPrivateMount(mount, [&]() -> std::string {
        const auto item = mount / "photos/a b.jpg";
        fs::create_directories(item.parent_path());
        std::ofstream(item) << "jpg";
        if (auto failure = trashFailure(item); !failure.empty()) {
            return "user trash: " + failure;
        }
        const auto info = readTrashInfo(mount / (".Trash-" + uid) / "info/a b.jpg.trashinfo");
        if (info.at("Path") != "photos/a%20b.jpg") {
            return "relative path expected, got " + info.at("Path");
        }
        if (fs::exists(paths::homeTrashDir() / "files/a b.jpg")) {
            return "moved across file systems into the home trash";
        }

        // An administrator's sticky .Trash wins; a .Trash that is a link is never used.
        fs::create_directory(mount / ".Trash");
        ::chmod((mount / ".Trash").c_str(), 01777);
        std::ofstream(mount / "b.txt") << "b";
        if (auto failure = trashFailure(mount / "b.txt"); !failure.empty()) {
            return "shared trash: " + failure;
        }
        if (!fs::exists(mount / ".Trash" / uid / "files/b.txt")) {
            return "not in .Trash/$uid";
        }
        fs::remove_all(mount / ".Trash");
        fs::create_directory_symlink("/tmp", mount / ".Trash");
        std::ofstream(mount / "c.txt") << "c";
        if (auto failure = trashFailure(mount / "c.txt"); !failure.empty() ||
                                                          !fs::exists(mount / (".Trash-" + uid) / "files/c.txt")) {
            return "a linked .Trash must be passed over: " + failure;
        }

        // Without a usable trash the item stays where it is.
        fs::remove_all(mount / (".Trash-" + uid));
        fs::remove(mount / ".Trash");
        std::ofstream(mount / "d.txt") << "d";
        if (::mount(nullptr, mount.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) != 0) {
            return "remount failed";
        }
        const auto failure = trashFailure(mount / "d.txt");
        if (failure != "这个位置没有可用的废纸篓，文件未删除：" + (mount / "d.txt").string()) {
            return "unexpected: " + failure;
        }
        return fs::exists(mount / "d.txt") ? "" : "the item was deleted";
    });
    if (!result) {
        GTEST_SKIP() << "private mounts are not allowed here";
    }
    EXPECT_EQ(*result, "");
}

TEST(FreedesktopTrash, InfoTextEncodesEverythingButUnreservedCharacters) {
    EXPECT_EQ(FreedesktopTrash::percentEncodedPath("/home/u/a b/ü%.txt~"), "/home/u/a%20b/%C3%BC%25.txt~");
    EXPECT_TRUE(FreedesktopTrash::trashInfo("x", 0).starts_with("[Trash Info]\nPath=x\nDeletionDate="));
}
