#include "app/core/executor/FinderActionExecutionError.h"
#include "app/core/tests/fakes/FakeNotifications.h"
#include "app/core/tests/fakes/FakePlatform.h"
#include "app/core/url/FinderSelectionModel.h"
#include "app/core/url/URLActionConsent.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace quilla;
namespace fs = std::filesystem;
using Answer = ActionConsentPrompt::Answer;

namespace {

class FinderSelectionModelTest : public ::testing::Test {
protected:
    test::FakeFinderScripting finder;
    test::FakeActionConsentPrompt consent;
    std::vector<ActionRequest> performed;
    std::vector<std::string> logLines;
    std::vector<std::string> failures;
    int featureRequests = 0;
    FinderSelectionModel::Clock::time_point now{};
    std::function<ActionResult(const ActionRequest&)> behaviour = [](const ActionRequest&) {
        return ActionResult{};
    };

    FinderSelectionModel model{{
        .perform =
            [this](const ActionRequest& request) {
                performed.push_back(request);
                return behaviour(request);
            },
        .finderScripting = finder,
        .consent = consent,
        .presentFeatureRequest = [this] { ++featureRequests; },
        .log = [this](std::string_view line) { logLines.emplace_back(line); },
        .actionFailed = [this](const std::string& text) { failures.push_back(text); },
        .now = [this] { return now; },
    }};

    void advance(double seconds) { now += std::chrono::milliseconds(static_cast<int>(seconds * 1000)); }
};

} // namespace

TEST_F(FinderSelectionModelTest, RepeatsWithinOneSecondAreDropped) {
    const std::string url = "quilla://finder-action?actionID=copyFullPath&path=/tmp/a&target=/tmp";
    const std::string other = "quilla://finder-action?actionID=copyFileName&path=/tmp/a&target=/tmp";
    model.handleIncomingURL(url);
    advance(0.5);
    model.handleIncomingURL(url); // a repeat
    advance(1.5);
    model.handleIncomingURL(url); // long enough after the first one
    advance(0.2);
    model.handleIncomingURL(other);
    advance(0.2);
    model.handleIncomingURL(url); // only the last accepted URL counts as a repeat
    ASSERT_EQ(performed.size(), 4u);
    EXPECT_EQ(performed[2].actionID, "copyFileName");
}

TEST_F(FinderSelectionModelTest, OtherSchemesAndHostsAreIgnoredSilently) {
    for (const char* url :
         {"https://finder-action?actionID=copyFullPath", "quilla://elsewhere?actionID=completed",
          "quilla://finder-action?path=%zz", "not a url"}) {
        model.handleIncomingURL(url);
    }
    EXPECT_TRUE(performed.empty());
    EXPECT_TRUE(logLines.empty());
    EXPECT_EQ(featureRequests, 0);

    model.handleIncomingURL("quilla://feature-request");
    EXPECT_EQ(featureRequests, 1);
    EXPECT_TRUE(performed.empty());
}

TEST_F(FinderSelectionModelTest, TheContextIsCompletedFromTheFileManager) {
    finder.selected = {"/sel/one"};
    finder.front = fs::path("/home/u/Desktop");
    struct Case {
        const char* query;
        std::vector<fs::path> selection;
        std::optional<fs::path> target;
    };
    const Case cases[] = {
        {"", {"/sel/one"}, fs::path("/home/u/Desktop")}, // nothing passed
        {"path=/a&path=/b",
         {"/a", "/b"},
         fs::path("/home/u/Desktop")},               // the target comes from the file manager
        {"target=/t", {"/sel/one"}, fs::path("/t")}, // the selection comes from the file manager
        {"path=/a&target=/t", {"/a"}, fs::path("/t")},
    };
    for (const auto& c : cases) {
        performed.clear();
        advance(2);
        model.handleIncomingURL(std::string("quilla://finder-action?") + c.query);
        ASSERT_EQ(performed.size(), 1u) << c.query;
        EXPECT_EQ(performed[0].actionID, "completed") << c.query;
        EXPECT_EQ(performed[0].selectedPaths, c.selection) << c.query;
        EXPECT_EQ(performed[0].targetedPath, c.target) << c.query;
        EXPECT_EQ(model.selectedFiles(), c.selection) << c.query; // "completed" produced nothing
    }
}

TEST_F(FinderSelectionModelTest, LogsTheRouteAndPublishesTheOutcome) {
    finder.front = fs::path("/desk");
    behaviour = [](const ActionRequest& request) -> ActionResult {
        if (request.actionID == "copyFileName")
            throw FinderActionExecutionError::noSelection();
        return {"/made/one"};
    };
    model.handleIncomingURL(
        "quilla://finder-action?actionID=copyFullPath&path=/a%20b&destination=/d&action=X");
    EXPECT_EQ(model.selectedFiles(), (std::vector<fs::path>{"/made/one"}));
    EXPECT_EQ(model.lastActionTitle(), "X");
    model.handleIncomingURL("quilla://finder-action?actionID=copyFileName&path=/q");
    EXPECT_EQ(model.selectedFiles(), (std::vector<fs::path>{"/q"}));
    EXPECT_EQ(model.lastActionTitle(), std::nullopt);

    const std::string error = "请先在 Finder 中选择文件。";
    const std::vector<std::string> expected{
        R"(action=copyFullPath passed=["/a b"] selected=["/a b"] target=/desk destination=/d )"
        R"(url=quilla://finder-action?actionID=copyFullPath&path=/a%20b&destination=/d&action=X)",
        "action succeeded: copyFullPath",
        R"(action=copyFileName passed=["/q"] selected=["/q"] target=/desk destination=nil )"
        R"(url=quilla://finder-action?actionID=copyFileName&path=/q)",
        "action failed: copyFileName error=" + error,
        "suppressed error alert: " + error,
    };
    EXPECT_EQ(logLines, expected);
    EXPECT_EQ(failures, std::vector<std::string>{error});
}

TEST_F(FinderSelectionModelTest, ActionsThatChangeFilesRunOnlyWithConsent) {
    struct Case {
        Answer answer;
        bool runs;
        const char* logLine; // the line after the action line; nothing when it ran
        bool failureNotified;
    };
    const Case cases[] = {
        {Answer::allowed, true, "action succeeded: moveFilesToDesktop", false},
        {Answer::refused, false, "url action refused by the user: moveFilesToDesktop", false},
        {Answer::unavailable, false, "url action refused, no dialog to confirm it: moveFilesToDesktop", true},
    };
    for (const auto& c : cases) {
        performed.clear();
        logLines.clear();
        failures.clear();
        consent.asked.clear();
        consent.answer = c.answer;
        advance(2);
        model.handleIncomingURL("quilla://finder-action?actionID=moveFilesToDesktop&path=/a&path=/b");
        EXPECT_EQ(performed.size(), c.runs ? 1u : 0u);
        ASSERT_EQ(consent.asked.size(), 1u);
        EXPECT_NE(consent.asked[0].message.find("“移动到桌面”"), std::string::npos)
            << consent.asked[0].message;
        EXPECT_EQ(consent.asked[0].itemLines, (std::vector<std::string>{"/a", "/b"}));
        ASSERT_EQ(logLines.size(), 2u);
        EXPECT_EQ(logLines[1], c.logLine);
        EXPECT_EQ(failures.size(), c.failureNotified ? 1u : 0u);
        EXPECT_EQ(model.selectedFiles(), (std::vector<fs::path>{"/a", "/b"}));
    }

    // Path copies, quick open, "completed" and the request form never ask.
    consent.asked.clear();
    for (const char* id :
         {"copyFullPath", "copyMarkdownLink", "quickOpenDesktop", "quickOpenPath", "completed"}) {
        advance(2);
        model.handleIncomingURL(std::string("quilla://finder-action?path=/a&actionID=") + id);
    }
    advance(2);
    model.handleIncomingURL("quilla://feature-request");
    EXPECT_TRUE(consent.asked.empty());
}

TEST_F(FinderSelectionModelTest, URLsArrivingWhileAQuestionIsOpenNeverStackQuestions) {
    consent.answer = Answer::allowed;
    consent.whileAsking = [this] {
        consent.whileAsking = nullptr;
        model.handleIncomingURL("quilla://finder-action?actionID=moveFilesToDesktop&path=/other");
        model.handleIncomingURL("quilla://finder-action?actionID=copyFullPath&path=/copied");
    };
    model.handleIncomingURL("quilla://finder-action?actionID=moveFilesToDesktop&path=/a");
    EXPECT_EQ(consent.asked.size(), 1u);
    ASSERT_EQ(performed.size(), 2u); // the copy needs no question; then the confirmed move
    EXPECT_EQ(performed[0].actionID, "copyFullPath");
    EXPECT_EQ(performed[1].selectedPaths, std::vector<fs::path>{"/a"});
    EXPECT_NE(std::find(logLines.begin(), logLines.end(),
                        "url action refused, another confirmation is open: moveFilesToDesktop"),
              logLines.end());

    // Once answered, the next question is asked again.
    advance(2);
    model.handleIncomingURL("quilla://finder-action?actionID=moveFilesToDesktop&path=/b");
    EXPECT_EQ(consent.asked.size(), 2u);
}

TEST(URLActionConsent, OnlyTextCopiesOpeningAndNothingRunUnasked) {
    const std::pair<const char*, bool> cases[] = {
        {"copyFullPath", true},
        {"copyFileNameList", true},
        {"quickOpenHome", true},
        {"quickOpenTypedPath", true},
        {"quickOpenPath", true},
        {"completed", true},
        {"moveFilesToDesktop", false},
        {"moveFilesToFolder", false},
        {"copyFilesToFolder", false},
        {"renameAddPrefix", false},
        {"extractZIPHere", false},
        {"scheduleDelete1Hour", false},
        {"runScript__X", false},
        {"runShortcut__X", false},
        {"finderViewPreset__P", false},
        {"openWithApplicationPath", false},
        {"createFolder", false},
        {"compressPDF", false},
        {"toggleHiddenFiles", false},
        {"copyFullPath ", false},
        {"", false},
        {"somethingUnknown", false},
    };
    for (const auto& [id, unasked] : cases) {
        EXPECT_EQ(URLActionConsent::runsWithoutConsent(id), unasked) << id;
    }
}

TEST(URLActionConsent, TheQuestionNamesTheActionAndSumsUpLongSelections) {
    ActionRequest request{.actionID = "extractZIPHere"};
    for (int i = 1; i <= 7; ++i) {
        request.selectedPaths.emplace_back("/z/" + std::to_string(i) + ".zip");
    }
    request.destinationPath = fs::path("/dest");
    const auto question = URLActionConsent::question(request);
    EXPECT_NE(question.message.find("“解压到当前文件夹”"), std::string::npos) << question.message;
    const std::vector<std::string> lines{"/z/1.zip", "/z/2.zip",      "/z/3.zip",   "/z/4.zip",
                                         "/z/5.zip", "……共 7 个项目", "目标：/dest"};
    EXPECT_EQ(question.itemLines, lines);

    const auto folderOnly =
        URLActionConsent::question({.actionID = "createFolder", .targetedPath = fs::path("/t")});
    EXPECT_EQ(folderOnly.itemLines, std::vector<std::string>{"位置：/t"});
    EXPECT_EQ(URLActionConsent::actionTitle("moveFilesToFolder"), "移动到");
    EXPECT_EQ(URLActionConsent::actionTitle("runScript__missing"), "自定义动作");
    EXPECT_EQ(URLActionConsent::actionTitle("weird"), "weird");
}
