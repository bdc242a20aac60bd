#include "app/core/executor/FinderActionExecutionError.h"
#include "app/core/executor/FinderActionExecutor.h"
#include "app/core/lists/FinderViewPresetPersistence.h"
#include "app/core/tests/fakes/FakePlatform.h"
#include "shared/FileIO.h"
#include "shared/QuillaPaths.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestEnv.h"
#include "app/core/tests/fakes/FailureText.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace quilla;
namespace fs = std::filesystem;

namespace {

using quilla::test::failureOf;

struct FinderViewFixture : ::testing::Test {
    quilla::test::ScopedHome home;
    quilla::test::FakePlatform platform;
    ExecutorContext context = platform.context();
    FinderActionExecutor executor{context};

    void savePresets(const std::vector<FinderViewPreset>& presets) {
        writeFileAtomically(FinderViewPresetPersistence::applicationCopy(),
                            plist::toXML(FinderViewPresetPersistence::encode(presets)));
    }
    ActionResult perform(ActionRequest request) { return executor.perform(request); }
    std::vector<std::string> log() const {
        std::vector<std::string> lines;
        std::istringstream text(quilla::test::readText(paths::appActionLogPath()));
        for (std::string line; std::getline(text, line);) {
            lines.push_back(line.substr(line.find("] ") + 2));
        }
        return lines;
    }
};

} // namespace

TEST_F(FinderViewFixture, ViewAndSortActionsReachTheFileManager) {
    for (const char* id : {"finderViewIcon", "finderViewList", "finderViewColumn", "finderViewGallery", "finderSortName",
                           "finderSortModificationDate", "finderSortCreationDate", "finderSortSize", "finderSortKind",
                           "finderSortLabel"}) {
        EXPECT_TRUE(perform({.actionID = id}).empty());
    }
    EXPECT_EQ(platform.finderScripting.calls,
              (std::vector<std::string>{"view icon", "view list", "view column", "view gallery", "sort name",
                                        "sort modificationDate", "sort creationDate", "sort size", "sort kind",
                                        "sort label"}));
    platform.finderScripting.failing = {"view"};
    platform.finderScripting.failure = "没有找到文件管理器的设置：x";
    EXPECT_EQ(failureOf([&] { perform({.actionID = "finderViewList"}); }), "没有找到文件管理器的设置：x");
}

TEST_F(FinderViewFixture, PresetSetsTheViewThenSortsAndLogsTheState) {
    savePresets({{"A", "分栏", FinderViewMode::column, FinderSortMode::name},
                 {"B", "图标", FinderViewMode::icon, FinderSortMode::none}});
    platform.finderScripting.state = "list-view | sort=name/normal";
    perform({.actionID = "finderViewPreset__A"});
    EXPECT_EQ(platform.finderScripting.calls, (std::vector<std::string>{"apply column name", "menu sort name"}));
    EXPECT_EQ(log(), (std::vector<std::string>{
                         "finder sort view options succeeded mode=name",
                         "finder view preset applied view=column sort=name state=list-view | sort=name/normal"}));

    platform.finderScripting.calls.clear();
    perform({.actionID = "finderViewPreset", .presetID = "B"});
    EXPECT_EQ(platform.finderScripting.calls, std::vector<std::string>{"apply icon none"}) << "no sort for none";
    EXPECT_EQ(log().back(), "finder view preset applied view=icon sort=none state=list-view | sort=name/normal");

    platform.finderScripting.calls.clear();
    perform({.actionID = "finderViewPreset", .destinationPath = fs::path("/presets/A")});
    EXPECT_EQ(platform.finderScripting.calls.front(), "apply column name") << "the id from the destination's name";
}

TEST_F(FinderViewFixture, AFailingSortIsOnlyLoggedButAFailingViewFailsTheAction) {
    savePresets({{"A", "列表", FinderViewMode::list, FinderSortMode::size}});
    platform.finderScripting.failing = {"menu sort"};
    EXPECT_NO_THROW(perform({.actionID = "finderViewPreset__A"}));
    EXPECT_EQ(log().front(), "finder sort view options failed mode=size error=scripting failed");

    platform.finderScripting.failing = {"apply"};
    EXPECT_EQ(failureOf([&] { perform({.actionID = "finderViewPreset__A"}); }), "scripting failed");
    EXPECT_EQ(log().size(), 2u) << "nothing more is logged after a failed view change";
}

TEST_F(FinderViewFixture, MissingPresetsAreUnsupported) {
    savePresets({{"A", "列表", FinderViewMode::list, FinderSortMode::size}});
    for (const auto& request : {ActionRequest{.actionID = "finderViewPreset__"},
                                ActionRequest{.actionID = "finderViewPreset__Z"},
                                ActionRequest{.actionID = "finderViewPreset"},
                                ActionRequest{.actionID = "finderViewPreset", .presetID = "a"}}) {
        EXPECT_EQ(failureOf([&] { perform(request); }), "暂不支持这个右键动作：finderViewPreset。") << request.actionID;
    }
    EXPECT_TRUE(platform.finderScripting.calls.empty());
}

TEST_F(FinderViewFixture, TogglingTwiceRestoresTheHiddenFilesSetting) {
    perform({.actionID = "toggleHiddenFiles"});
    EXPECT_TRUE(platform.finderScripting.showingHidden) << "never set counts as hidden";
    perform({.actionID = "toggleHiddenFiles"});
    EXPECT_FALSE(platform.finderScripting.showingHidden);
    EXPECT_EQ(platform.finderScripting.calls, (std::vector<std::string>{"hidden true", "hidden false"}));
}
