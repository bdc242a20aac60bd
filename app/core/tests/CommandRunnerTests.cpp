#include "app/core/executor/CommandRunner.h"
#include "app/core/executor/FinderActionExecutionError.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

using namespace quilla;

TEST(CommandRunner, DrainsLargeOutputOnBothPipesWithoutStalling) {
    const auto result = CommandRunner::run("/bin/sh", {"-c", "head -c 3000000 /dev/zero; head -c 2000000 /dev/zero >&2"}, {});
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(result.standardOutput.size(), 3000000u);
    EXPECT_EQ(result.standardError.size(), 2000000u);
}

TEST(CommandRunner, TimeoutStopsAChildThatNeverExits) {
    CommandRunner::Options options;
    options.timeout = std::chrono::milliseconds(200);
    const auto started = std::chrono::steady_clock::now();
    const auto result = CommandRunner::run("/bin/sh", {"-c", "sleep 30 & sleep 30"}, options);
    EXPECT_TRUE(result.timedOut);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(10));
}

TEST(CommandRunner, FailureMessagesFollowTheRule) {
    try {
        CommandRunner::runProcess("/bin/sh", {"-c", "echo '  broken pipe \n' >&2; exit 3"});
        FAIL();
    } catch (const FinderActionExecutionError& e) {
        EXPECT_STREQ(e.what(), "broken pipe");
    }
    try {
        CommandRunner::runProcess("/bin/sh", {"-c", "exit 1"});
        FAIL();
    } catch (const FinderActionExecutionError& e) {
        EXPECT_STREQ(e.what(), "系统命令执行失败。");
    }
    try {
        CommandRunner::runProcess("/bin/sh", {"-c", "printf '\\377\\376' >&2; exit 1"});
        FAIL();
    } catch (const FinderActionExecutionError& e) {
        EXPECT_STREQ(e.what(), "sh");
    }
    EXPECT_THROW(CommandRunner::runProcess("/nonexistent/tool", {}), std::system_error);
}

TEST(CommandRunner, ArgumentsReachTheChildVerbatimWithoutAShell) {
    test::TempDir dir;
    const std::string odd = "a b; $(rm -rf /) \"q\" 'x'\n*";
    const auto out = CommandRunner::runProcessOutput("/usr/bin/printf", {"%s", odd});
    EXPECT_EQ(out, odd);
    CommandRunner::Options options;
    options.currentDirectory = dir.path();
    EXPECT_EQ(CommandRunner::run("/bin/pwd", {}, options).standardOutput, dir.path().string() + "\n");
    options.standardInput = "fed in";
    EXPECT_EQ(CommandRunner::run("/bin/cat", {}, options).standardOutput, "fed in");
}

TEST(CommandRunner, UTF8Check) {
    EXPECT_TRUE(isValidUTF8("桌面 ok"));
    EXPECT_FALSE(isValidUTF8("\xC0\xAF"));
    EXPECT_FALSE(isValidUTF8("\xED\xA0\x80"));
    EXPECT_FALSE(isValidUTF8("\xE6\xA1"));
}
