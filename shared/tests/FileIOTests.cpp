#include "shared/DiagnosticLog.h"
#include "shared/FileIO.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <sys/stat.h>

using namespace quilla;
using quilla::test::TempDir;

namespace {

std::size_t entryCount(const std::filesystem::path& dir) {
    std::size_t n = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir)) {
        ++n;
    }
    return n;
}

} // namespace

TEST(FileIO, AtomicWriteReplacesWholeFileAndLeavesNoTemporary) {
    TempDir dir;
    const auto file = dir / "a" / "b" / "Settings.plist";
    ASSERT_TRUE(writeFileAtomically(file, "first"));
    ASSERT_TRUE(writeFileAtomically(file, "second, longer"));
    EXPECT_EQ(test::readText(file), "second, longer");
    EXPECT_EQ(entryCount(file.parent_path()), 1u);
    struct stat info {};
    ASSERT_EQ(::stat(file.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0644u);
}

TEST(FileIO, UnsyncedWriteIsStillWholeAndPrivateWhenAsked) {
    TempDir dir;
    const auto file = dir / "queue" / "A.json";
    std::filesystem::create_directories(file.parent_path());
    ASSERT_TRUE(writeFileAtomically(file, "{}", false, 0600, Durability::unsynced));
    EXPECT_EQ(test::readText(file), "{}");
    EXPECT_EQ(entryCount(file.parent_path()), 1u);
    struct stat info {};
    ASSERT_EQ(::stat(file.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    EXPECT_FALSE(writeFileAtomically(dir / "missing" / "B.json", "{}", false, 0600, Durability::unsynced));
}

TEST(FileIO, AtomicWriteIntoReadOnlyFolderFailsAndKeepsOldContent) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "root ignores folder permissions";
    }
    TempDir dir;
    const auto file = dir.write("locked/file.txt", "old");
    ::chmod(file.parent_path().c_str(), 0500);
    EXPECT_FALSE(writeFileAtomically(file, "new"));
    EXPECT_EQ(test::readText(file), "old");
}

TEST(FileIO, AtomicWriteFailsWhenParentIsAFile) {
    TempDir dir;
    const auto blocker = dir.write("blocker", "x");
    EXPECT_FALSE(writeFileAtomically(blocker / "child.plist", "data"));
    EXPECT_EQ(test::readText(blocker), "x");
}

TEST(FileIO, ReadIsCappedAndRefusesNonRegularFiles) {
    TempDir dir;
    const auto file = dir.write("big", std::string(100, 'x'));
    EXPECT_EQ(readFileCapped(file, 100)->size(), 100u);
    EXPECT_FALSE(readFileCapped(file, 99));
    EXPECT_FALSE(readFileCapped(dir.path(), 1000));
    EXPECT_FALSE(readFileCapped(dir / "missing", 1000));
}

TEST(FileIO, LogLinesAppendAndRotatePastTheLimit) {
    TempDir dir;
    const auto log = dir / "state" / "app.log";
    appendLogLine(log, "one", 20);
    appendLogLine(log, "two", 20);
    EXPECT_EQ(test::readText(log), "one\ntwo\n");
    appendLogLine(log, std::string(30, 'x'), 20);
    appendLogLine(log, "after", 20);
    auto older = log;
    older += ".1";
    EXPECT_EQ(test::readText(log), "after\n");
    EXPECT_EQ(test::readText(older), "one\ntwo\n" + std::string(30, 'x') + "\n");
}

TEST(FileIO, DiagnosticLinesCarryUTCDate) {
    TempDir dir;
    const auto log = dir / "diag.log";
    appendDiagnosticLog(log, "QuillaApp init");
    const std::regex line(R"(\[\d{4}-\d{2}-\d{2} \d{2}:\d{2}:\d{2} \+0000\] QuillaApp init\n)");
    EXPECT_TRUE(std::regex_match(test::readText(log), line)) << test::readText(log);
}

TEST(FileIO, AMessageWithLineBreaksStaysOneDiagnosticLine) {
    TempDir dir;
    const auto log = dir / "diag.log";
    appendDiagnosticLog(
        log, "queued action=x\n[2026-01-01 00:00:00 +0000] app delegate queued action succeeded: x");
    appendDiagnosticLog(log, std::vector<std::string>{"one\rtwo", "three"});
    const auto text = test::readText(log);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 3) << text;
    EXPECT_NE(text.find("] queued action=x\\n[2026-01-01"), std::string::npos) << text;
    EXPECT_NE(text.find("] one\\rtwo\n"), std::string::npos) << text;
}

TEST(FileIO, LoggingIntoAnUnwritablePlaceIsSilent) {
    appendLogLine("/proc/definitely/not/here.log", "x");
    appendDiagnosticLog("/dev/null/x.log", "x");
    SUCCEED();
}
