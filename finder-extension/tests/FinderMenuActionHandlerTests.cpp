#include "finder-extension/core/FinderMenuActionHandler.h"
#include "finder-extension/core/QuillaActionQueue.h"
#include "finder-extension/tests/FinderTestDoubles.h"
#include "shared/QuillaPaths.h"
#include "shared/Uuid.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestEnv.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <fstream>
#include <sys/stat.h>

namespace quilla {
namespace {

using test::destinationEntry;
using test::ExtensionFixture;
using test::itemTitled;

std::vector<std::string> logLines() {
    std::vector<std::string> lines;
    std::ifstream in(paths::extensionLogPath());
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line.substr(line.find("] ") + 2));
    }
    return lines;
}

bool logged(std::string_view line) {
    const auto lines = logLines();
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

std::vector<std::filesystem::path> filesIn(const std::filesystem::path& dir) {
    std::vector<std::filesystem::path> files;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(dir, ec)) {
        files.push_back(entry.path());
    }
    return files;
}

nlohmann::json readQueued(const std::filesystem::path& file) { return nlohmann::json::parse(test::readText(file)); }

struct ActionHandlerTest : ::testing::Test {
    ExtensionFixture fixture;

    void SetUp() override {
        ExtensionFixture::writeSettings(
            "CustomShortcutActions.plist",
            plist::Array{plist::Dict{{"id", "S1"}, {"name", "Resize"}, {"shortcutName", "Resize"}}});
        ExtensionFixture::writeSettings(
            "CustomDestinations.plist",
            plist::Dict{{"openApplication", plist::Array{destinationEntry("E1", "Editor", "/e.desktop")}}});
    }

    FinderMenuItem strippedItem(std::string title, std::optional<std::string> identifier = std::nullopt,
                                std::optional<long> tag = std::nullopt) {
        FinderMenuItem item;
        item.title = std::move(title);
        item.identifier = std::move(identifier);
        item.tag = tag;
        return item;
    }

    nlohmann::json click(const FinderMenuItem& item) {
        const auto file = fixture.sync->performFeatureChild(item);
        EXPECT_TRUE(file);
        return file ? readQueued(*file) : nlohmann::json();
    }
};

TEST_F(ActionHandlerTest, ItemsThatLostTheirObjectAreResolvedByIdentifierTagOrTitle) {
    struct Case {
        const char* name;
        FinderMenuItem item;
        std::string actionID, title, destination, presetID, logLine;
    };
    const std::vector<Case> cases{
        {"open-with by identifier", strippedItem("x", "openWithApplicationPath__E1"), "openWithApplicationPath",
         "Editor", "/e.desktop", "", "resolved open-with app from identifier=E1 destination=/e.desktop"},
        {"custom action by identifier", strippedItem("x", "runShortcut__S1"), "runShortcut__S1", "Resize", "", "",
         "resolved custom action from identifier=runShortcut__S1"},
        {"preset by identifier", strippedItem("x", "finderViewPreset__icon-name"), "finderViewPreset__icon-name",
         "图标 · 按名称", "", "icon-name", "resolved view preset from identifier=finderViewPreset__icon-name"},
        {"preset by tag", strippedItem("x", "finderViewPreset__gone", 700002), "finderViewPreset__column-name",
         "分栏 · 按名称", "", "column-name", "resolved view preset from tag=700002 actionID=finderViewPreset__column-name"},
        {"custom action by title", strippedItem("Resize"), "runShortcut__S1", "Resize", "", "",
         "resolved custom action from title=Resize actionID=runShortcut__S1"},
        {"open-with by title", strippedItem("Editor"), "openWithApplicationPath", "Editor", "/e.desktop", "",
         "resolved open-with app from title=Editor destination=/e.desktop"},
        {"preset by title", strippedItem("列表 · 最近修改", std::nullopt, 699999), "finderViewPreset__list-modified",
         "列表 · 最近修改", "", "list-modified",
         "resolved view preset from title=列表 · 最近修改 actionID=finderViewPreset__list-modified"},
        {"catalog child by title", strippedItem("复制文件名"), "copyFileName", "复制文件名", "", "",
         "action=copyFileName title=复制文件名 selected=[\"/live\"] target=/dir destination=nil"},
    };
    fixture.host.setSelection({"/live"}, "/dir");
    for (const auto& c : cases) {
        const auto queued = click(c.item);
        EXPECT_EQ(queued["actionID"], c.actionID) << c.name;
        EXPECT_EQ(queued["title"], c.title) << c.name;
        EXPECT_EQ(queued["destinationPath"], c.destination) << c.name;
        EXPECT_EQ(queued["presetID"], c.presetID) << c.name;
        EXPECT_EQ(queued["selectedPaths"], nlohmann::json::array({"/live"})) << c.name;
        EXPECT_EQ(queued["targetedPath"], "/dir") << c.name;
        EXPECT_TRUE(logged(c.logLine)) << c.name;
    }
}

TEST_F(ActionHandlerTest, AnItemMatchingNothingQueuesNothing) {
    const auto file = fixture.sync->performFeatureChild(strippedItem("Nothing", "bogus", 5));
    EXPECT_FALSE(file);
    EXPECT_TRUE(logged("missing context for sender=Nothing"));
    EXPECT_TRUE(filesIn(paths::primaryQueueDir()).empty());
    EXPECT_EQ(fixture.notifier.posts, 0);
    EXPECT_EQ(fixture.launcher.starts, 0);
}

TEST_F(ActionHandlerTest, ViewPresetDictionaryQueuesNoPresetID) {
    const auto menu = fixture.menu({"/f"}, "/dir");
    const auto* preset = itemTitled(*itemTitled(menu, "调整显示方式")->submenu, "图标 · 按名称");
    fixture.host.setSelection({}, std::nullopt); // the host no longer reports anything: the item's own copy is used
    const auto queued = click(*preset);
    EXPECT_EQ(queued["actionID"], "finderViewPreset__icon-name");
    EXPECT_EQ(queued["presetID"], "");
    EXPECT_EQ(queued["selectedPaths"], nlohmann::json::array({"/f"}));
    EXPECT_EQ(queued["targetedPath"], "/dir");
}

TEST_F(ActionHandlerTest, QueueFileHoldsTheSevenKeysPrettyAndSorted) {
    const auto menu = fixture.menu({}, "/home/me/folder");
    const auto* item = itemTitled(*itemTitled(menu, "复制名称与路径")->submenu, "复制完整路径");
    const auto before = std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch()).count();
    const auto file = fixture.sync->performFeatureChild(*item);
    ASSERT_TRUE(file);
    EXPECT_EQ(file->parent_path(), paths::primaryQueueDir());
    EXPECT_EQ(file->extension(), ".json");
    EXPECT_TRUE(isUUIDString(file->stem().string()));
    const auto text = test::readText(*file);
    const auto queued = nlohmann::json::parse(text);
    std::vector<std::string> keys;
    for (const auto& [key, value] : queued.items()) {
        keys.push_back(key);
    }
    EXPECT_EQ(keys, (std::vector<std::string>{"actionID", "createdAt", "destinationPath", "presetID", "selectedPaths",
                                              "targetedPath", "title"}));
    EXPECT_EQ(text.find("{\n  \"actionID\": \"copyFullPath\",\n  \"createdAt\": "), 0u) << text;
    EXPECT_EQ(queued["selectedPaths"], nlohmann::json::array());
    EXPECT_GE(queued["createdAt"].get<double>(), before - 1);
    EXPECT_EQ(std::filesystem::status(paths::primaryQueueDir()).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_all);
    EXPECT_EQ(fixture.notifier.posts, 1);
    EXPECT_EQ(fixture.launcher.starts, 1);
    EXPECT_TRUE(logged("queued action: copyFullPath"));

    std::string parsedByPython;
    const std::string script = "import json\nd = json.load(open('" + file->string() +
                               "', encoding='utf-8'))\nprint(sorted(d) == list(d), d['targetedPath'])\n";
    EXPECT_EQ(test::runPython(script, &parsedByPython), 0);
    EXPECT_EQ(parsedByPython, "True /home/me/folder\n");
}

TEST_F(ActionHandlerTest, OddNamesTravelIntactAndNonUTF8PathsAreRefused) {
    const std::vector<std::string> odd{"/tmp/with space.txt", "/tmp/\"quoted\" 'name'", "/tmp/new\nline",
                                       "/tmp/中文 名字.pdf", "/tmp/back\\slash\ttab", "/tmp/emoji 😀"};
    fixture.host.setSelection(odd, std::nullopt);
    const auto queued = click(strippedItem("复制完整路径"));
    EXPECT_EQ(queued["selectedPaths"].get<std::vector<std::string>>(), odd);
    EXPECT_EQ(queued["targetedPath"], "") << "no target is an empty string, never absent";

    const auto filesBefore = filesIn(paths::primaryQueueDir()).size();
    fixture.host.setSelection({"/tmp/latin1-\xe9t\xe9.txt"}, std::nullopt);
    EXPECT_FALSE(fixture.sync->performFeatureChild(strippedItem("复制完整路径")));
    EXPECT_EQ(filesIn(paths::primaryQueueDir()).size(), filesBefore) << "no file, not even a temporary one";
    const auto lines = logLines();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_TRUE(lines[lines.size() - 2].starts_with("queue failed: copyFullPath error=")) << lines[lines.size() - 2];
    EXPECT_TRUE(lines.back().starts_with("suppressed queue error alert: "));
    EXPECT_EQ(fixture.notifier.posts, 1);
    EXPECT_EQ(fixture.launcher.starts, 1);
}

TEST_F(ActionHandlerTest, UnwritableQueueLogsTwiceAndNeitherSignalsNorStarts) {
    // Files where the folders should be: neither the queue nor its fallback can be created.
    writeFileAtomically(paths::primaryQueueDir(), "x");
    writeFileAtomically(paths::fallbackQueueDir(), "x");
    fixture.host.setSelection({"/a"}, "/");
    EXPECT_FALSE(fixture.sync->performFeatureChild(strippedItem("复制完整路径")));
    const auto lines = logLines();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_TRUE(lines[lines.size() - 2].starts_with("queue failed: copyFullPath error=cannot create the queue directory"));
    EXPECT_TRUE(lines.back().starts_with("suppressed queue error alert: cannot create"));
    EXPECT_EQ(fixture.notifier.posts, 0);
    EXPECT_EQ(fixture.launcher.starts, 0);
}

TEST_F(ActionHandlerTest, FallbackQueueIsUsedWhenThePrimaryCannotBeCreated) {
    writeFileAtomically(paths::primaryQueueDir(), "x");
    const auto file = fixture.sync->performFeatureChild(strippedItem("新建文件夹"));
    ASSERT_TRUE(file);
    EXPECT_EQ(file->parent_path(), paths::fallbackQueueDir());
    EXPECT_TRUE(paths::isPrivateDirectory(paths::fallbackQueueDir()));
}

TEST_F(ActionHandlerTest, TheApplicationIsStartedOnlyWhenItIsNotRunning) {
    fixture.launcher.running = true;
    click(strippedItem("新建文件夹"));
    EXPECT_EQ(fixture.launcher.starts, 0);
    EXPECT_EQ(fixture.notifier.posts, 1);

    fixture.launcher.running = false;
    fixture.launcher.startError = "The name is not activatable";
    click(strippedItem("新建文件夹"));
    EXPECT_EQ(fixture.launcher.starts, 1);
    EXPECT_TRUE(logged("failed to open app: The name is not activatable"));
}

TEST(QuillaActionQueue, EncodingFailsCleanlyForEveryField) {
    QuillaQueuedAction action{"copyFullPath", "t", {"/ok"}, "/dir", "", ""};
    EXPECT_NO_THROW(QuillaActionQueue::encode(action, std::chrono::system_clock::now()));
    for (auto field : {&QuillaQueuedAction::title, &QuillaQueuedAction::destinationPath, &QuillaQueuedAction::presetID,
                       &QuillaQueuedAction::actionID}) {
        auto bad = action;
        bad.*field = "\xff";
        EXPECT_THROW(QuillaActionQueue::encode(bad, std::chrono::system_clock::now()), QuillaActionQueue::Error);
    }
    auto badTarget = action;
    badTarget.targetedPath = "/\xc3";
    EXPECT_THROW(QuillaActionQueue::encode(badTarget, std::chrono::system_clock::now()),
                 QuillaActionQueue::Error);
}

TEST(QuillaActionQueue, TheQueueFolderIsUsedOnlyWhileItIsPrivate) {
    test::ScopedHome home;
    const auto primary = paths::primaryQueueDir();
    const auto fallback = paths::fallbackQueueDir();
    auto mode = [](const std::filesystem::path& dir) {
        struct stat info {};
        return ::lstat(dir.c_str(), &info) == 0 ? info.st_mode & 07777 : 0u;
    };
    EXPECT_EQ(QuillaActionQueue::directoryPath(), primary);
    EXPECT_EQ(mode(primary), 0700u);

    // Anyone who can write into the folder, or point it elsewhere, could make the user run anything.
    ::chmod(primary.c_str(), 0770);
    EXPECT_EQ(QuillaActionQueue::directoryPath(), fallback);
    EXPECT_EQ(mode(fallback), 0700u);
    std::filesystem::remove(primary);
    test::TempDir elsewhere;
    std::filesystem::create_directory_symlink(elsewhere.path(), primary);
    EXPECT_EQ(QuillaActionQueue::directoryPath(), fallback);
    const auto queued = QuillaActionQueue::enqueue({"copyFullPath", "t", {"/ok"}, std::nullopt, "", ""});
    EXPECT_EQ(queued.parent_path(), fallback);
    EXPECT_TRUE(std::filesystem::is_empty(elsewhere.path()));
}

TEST(FinderMenuActionHandlerKinds, ActionForIDKnowsOpenWithAndCatalogChildren) {
    EXPECT_EQ(FinderMenuActionHandler::actionForID("openWithApplicationPath"),
              FinderFeatureAction::openWithApplicationPath());
    EXPECT_EQ(FinderMenuActionHandler::actionForID("compressToZIP"), FinderFeatureAction::requiresSelection());
    EXPECT_FALSE(FinderMenuActionHandler::actionForID("copyFilesToFolder"));
    EXPECT_FALSE(FinderMenuActionHandler::actionForID("finderViewPreset__x"));
}

} // namespace
} // namespace quilla
