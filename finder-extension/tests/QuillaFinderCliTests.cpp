#include "finder-extension/tests/FinderTestDoubles.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <sys/wait.h>

namespace quilla {
namespace {

struct Result {
    int status = -1;
    std::string out;
};

std::string quoted(const std::string& text) {
    std::string result = "'";
    for (const char c : text) {
        result += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return result + "'";
}

// Runs the built quilla-finder with the test's home; standard error is dropped unless `withErrors`.
Result quillaFinder(const std::vector<std::string>& arguments, bool withErrors = false) {
    const char* binaryDir = std::getenv("QUILLA_BINARY_DIR");
    std::string command = quoted(std::string(binaryDir ? binaryDir : ".") + "/bin/quilla-finder");
    for (const auto& argument : arguments) {
        command += " " + quoted(argument);
    }
    command += withErrors ? " 2>&1" : " 2>/dev/null";
    Result result;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) {
        return result;
    }
    std::array<char, 4096> buffer{};
    while (const auto n = std::fread(buffer.data(), 1, buffer.size(), pipe)) {
        result.out.append(buffer.data(), n);
    }
    const int status = ::pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

std::vector<std::string> unindentedLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (auto end = text.find('\n'); end != std::string::npos;
         start = end + 1, end = text.find('\n', start)) {
        const auto line = text.substr(start, end - start);
        if (!line.starts_with(" ")) {
            lines.push_back(line);
        }
    }
    return lines;
}

struct QuillaFinderCliTest : ::testing::Test {
    test::ScopedHome home;
    test::ScopedEnv noBus{"DBUS_SESSION_BUS_ADDRESS", std::nullopt};
};

TEST_F(QuillaFinderCliTest, MenuWithoutSettingsShowsTheDefaultFeaturesCollapsed) {
    const auto result = quillaFinder({"menu"});
    ASSERT_EQ(result.status, 0);
    // customActions is enabled too but has no actions, so it shows nothing.
    EXPECT_EQ(
        unindentedLines(result.out),
        (std::vector<std::string>{"打开", "新建", "移动到", "复制到", "批量改名", "压缩与解压缩", "定时清理",
                                  "处理图片", "处理 PDF", "复制名称与路径", "用应用打开", "调整显示方式"}));
    EXPECT_NE(result.out.find("\n  复制完整路径 [disabled]\n"), std::string::npos);
    EXPECT_NE(result.out.find("\n  新建文件夹\n"), std::string::npos);
}

TEST_F(QuillaFinderCliTest, JsonMenuDescribesEveryItem) {
    const auto result = quillaFinder({"menu", "--json", "--selected", "/srv/a b.txt", "--target", "/srv"});
    ASSERT_EQ(result.status, 0);
    const auto items = nlohmann::json::parse(result.out);
    ASSERT_TRUE(items.is_array());
    const auto& open = items[0];
    EXPECT_EQ(open["title"], "打开");
    EXPECT_TRUE(open["identifier"].is_null());
    EXPECT_TRUE(open["context"].is_null());
    const auto& home = open["submenu"][0];
    EXPECT_EQ(home["actionID"], "quickOpenPath");
    EXPECT_EQ(home["context"]["action"], "openFolder");
    EXPECT_EQ(home["context"]["selectedPaths"], nlohmann::json::array({"/srv/a b.txt"}));
    EXPECT_EQ(home["context"]["targetedPath"], "/srv");
    const auto& presets = items.back()["submenu"];
    EXPECT_EQ(presets[1]["tag"], 700001);
    EXPECT_EQ(presets[1]["context"]["actionID"], "finderViewPreset__icon-name");
}

TEST_F(QuillaFinderCliTest, ClickQueuesTheItemAndPrintsTheFile) {
    for (const bool withoutContext : {false, true}) {
        std::vector<std::string> arguments{"click", "复制名称与路径 > 复制文件名", "--selected", "/srv/x"};
        if (withoutContext) {
            arguments.push_back("--without-context");
        }
        const auto result = quillaFinder(arguments);
        ASSERT_EQ(result.status, 0);
        const std::filesystem::path file(result.out.substr(0, result.out.size() - 1));
        EXPECT_EQ(file.parent_path(), paths::primaryQueueDir());
        const auto queued = nlohmann::json::parse(test::readText(file));
        EXPECT_EQ(queued["actionID"], "copyFileName");
        EXPECT_EQ(queued["selectedPaths"], nlohmann::json::array({"/srv/x"}));
    }
}

TEST_F(QuillaFinderCliTest, ADisabledItemIsRefusedAndNothingIsQueued) {
    struct Case {
        std::vector<std::string> arguments;
    };
    const std::vector<Case> cases{
        {{"click", "复制名称与路径 > 复制完整路径"}}, // needs a selection
        {{"click", "批量改名 > 按序号重新命名", "--target", "/srv"}},
        {{"click", "压缩与解压缩 > 压缩为 ZIP", "--target", "/srv"}},
    };
    for (const auto& c : cases) {
        const auto result = quillaFinder(c.arguments, true);
        EXPECT_EQ(result.status, 1) << c.arguments[1] << ": " << result.out;
        EXPECT_NE(result.out.find("is disabled for this selection; nothing was queued"), std::string::npos)
            << result.out;
        std::error_code ec;
        EXPECT_TRUE(!std::filesystem::exists(paths::primaryQueueDir(), ec) ||
                    std::filesystem::is_empty(paths::primaryQueueDir()))
            << c.arguments[1];
    }
}

TEST_F(QuillaFinderCliTest, UsageErrorsExitWithTwo) {
    for (const auto& arguments : std::vector<std::vector<std::string>>{{},
                                                                       {"frobnicate"},
                                                                       {"click", "没有 > 这个"},
                                                                       {"menu", "--kind", "9"},
                                                                       {"menu", "--selected"},
                                                                       {"click"}}) {
        EXPECT_EQ(quillaFinder(arguments).status, 2) << (arguments.empty() ? "" : arguments[0]);
    }
}

TEST_F(QuillaFinderCliTest, DirectoriesListsTheWatchedFolders) {
    const auto result = quillaFinder({"directories"});
    ASSERT_EQ(result.status, 0);
    EXPECT_NE(result.out.find(home.home().string() + "\n"), std::string::npos);
}

} // namespace
} // namespace quilla
