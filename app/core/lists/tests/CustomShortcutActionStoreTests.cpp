#include "app/core/lists/CustomShortcutActionStore.h"
#include "app/core/lists/tests/ListsTestSupport.h"
#include "shared/QuillaPaths.h"
#include "shared/Uuid.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestEnv.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace quilla;
namespace fs = std::filesystem;

namespace {

using Kind = CustomShortcutAction::Kind;

class CustomShortcutActionStoreTest : public ::testing::Test {
protected:
    test::ScopedHome home;
    RecordingSettingsChangeNotifier notifier;
    CustomShortcutActionPersistence persistence{notifier};
    test::FakeListPrompts prompts;

    static fs::path appCopy() { return CustomShortcutActionPersistence::applicationCopy(); }
    static fs::path extensionCopy() { return paths::extensionSupportDir() / "CustomShortcutActions.plist"; }
    void writeSaved(const plist::Value& root) { test::writeFile(appCopy(), plist::toXML(root)); }

    static void addShortcutFile(const std::string& name, mode_t mode) {
        const auto path = paths::shortcutsDir() / name;
        test::writeFile(path, "#!/bin/sh\n");
        ::chmod(path.c_str(), mode);
    }

    void addScript(CustomShortcutActionStore& store, const fs::path& path) {
        prompts.scriptAnswer = path;
        store.addScriptAction(prompts);
    }
    void addShortcut(CustomShortcutActionStore& store, const std::string& text) {
        prompts.shortcutAnswer = ShortcutPickerAnswer{text, text};
        store.addAction(prompts);
    }
};

} // namespace

TEST_F(CustomShortcutActionStoreTest, WithoutAFileTheListStartsEmptyAndAnEmptyArrayIsWrittenToBothCopies) {
    CustomShortcutActionStore store(persistence);
    EXPECT_TRUE(store.actions().empty());
    EXPECT_EQ(notifier.reasons, std::vector<std::string>{"custom-shortcut-actions"});
    EXPECT_EQ(test::pythonOutput(extensionCopy(), "print(plistlib.load(open(path, 'rb')))\n"), "[]\n");
    EXPECT_EQ(test::readText(appCopy()), test::readText(extensionCopy()));
}

TEST_F(CustomShortcutActionStoreTest, EntriesAreReadLeniently) {
    writeSaved(test::entries({
        {{"id", "1"}, {"name", "Resize"}, {"kind", "shortcut"}, {"shortcutName", "Resize Images"}, {"scriptPath", ""}},
        {{"id", "2"}, {"name", "Lint"}, {"kind", "script"}},                       // script without a path
        {{"id", "3"}, {"name", "Odd"}, {"kind", "automator"}, {"shortcutName", "Odd One"}}, // unknown kind
        {{"name", "No id"}, {"shortcutName", "x"}},
        {{"id", "5"}, {"shortcutName", "No name"}},
        {{"id", "6"}, {"name", "Plain"}, {"shortcutName", "Plain"}},             // no kind
        {{"id", "7"}, {"name", "Run"}, {"kind", "script"}, {"scriptPath", "/s/run.sh"}, {"extra", "x"}},
        {{"id", "8"}, {"name", "Empty"}, {"kind", "shortcut"}, {"scriptPath", "/s/a.sh"}}, // shortcut without a name
    }));
    CustomShortcutActionStore store(persistence);
    const std::vector<CustomShortcutAction> expected{
        {"1", "Resize", Kind::shortcut, "Resize Images", ""},
        {"3", "Odd", Kind::shortcut, "Odd One", ""},
        {"6", "Plain", Kind::shortcut, "Plain", ""},
        {"7", "Run", Kind::script, "", "/s/run.sh"},
    };
    EXPECT_EQ(store.actions(), expected);
    EXPECT_EQ(CustomShortcutActionPersistence::action("7")->detailText(), "/s/run.sh");
    EXPECT_FALSE(CustomShortcutActionPersistence::action("2"));
}

TEST_F(CustomShortcutActionStoreTest, AWronglyShapedFileGivesAnEmptyListAndIsKeptAside) {
    const std::string cases[] = {
        "{not a plist",
        plist::toXML(plist::Dict{{"id", "1"}}),
        plist::toXML(plist::Array{plist::Dict{{"id", "1"}, {"name", "A"}, {"shortcutName", std::int64_t{4}}}}),
        plist::toXML(plist::Array{plist::Dict{{"id", "1"}, {"name", "A"}, {"shortcutName", "A"}}, true}),
    };
    for (const auto& bytes : cases) {
        test::ScopedHome fresh;
        test::writeFile(appCopy(), bytes);
        EXPECT_TRUE(CustomShortcutActionPersistence::load().empty()) << bytes;
        CustomShortcutActionStore store(persistence);
        EXPECT_TRUE(store.actions().empty()) << bytes;
        EXPECT_EQ(test::keptAside(appCopy()).size(), 1u) << bytes;
    }
}

TEST_F(CustomShortcutActionStoreTest, APickedShortcutIsTrimmedAndBlankAnswersAddNothing) {
    CustomShortcutActionStore store(persistence);
    int changes = 0;
    store.observe([&] { ++changes; });
    addShortcut(store, "  Make PDF\u3000\n");
    ASSERT_EQ(store.actions().size(), 1u);
    const auto& added = store.actions().front();
    EXPECT_TRUE(isUUIDString(added.id));
    EXPECT_EQ(added, (CustomShortcutAction{added.id, "Make PDF", Kind::shortcut, "Make PDF", ""}));

    prompts.shortcutAnswer = ShortcutPickerAnswer{"", " Resize "};
    store.addAction(prompts);
    EXPECT_EQ(store.actions().back().name, "Resize"); // a blank name falls back to the shortcut

    addShortcut(store, " \t ");
    prompts.shortcutAnswer = std::nullopt;
    store.addAction(prompts);
    EXPECT_EQ(store.actions().size(), 2u);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(notifier.reasons.size(), 3u);
}

TEST_F(CustomShortcutActionStoreTest, ThePickerOffersTheExecutableFilesOfTheShortcutsFolder) {
    CustomShortcutActionStore store(persistence);
    prompts.shortcutAnswer = std::nullopt;
    store.addAction(prompts);
    addShortcutFile("Zip Them", 0755);
    addShortcutFile("Backup", 0700);
    addShortcutFile("notes.txt", 0644);
    fs::create_directories(paths::shortcutsDir() / "folder");
    store.addAction(prompts);

    ASSERT_EQ(prompts.pickers.size(), 2u);
    const auto& empty = prompts.pickers[0];
    EXPECT_EQ(empty.messageText, "添加快捷指令");
    EXPECT_EQ(empty.informativeText, "没有读取到快捷指令，你也可以手动输入快捷指令名称。");
    EXPECT_EQ(empty.confirmButtonTitle, "添加");
    EXPECT_EQ(empty.cancelButtonTitle, "取消");
    EXPECT_EQ(empty.placeholder, "快捷指令名称");
    EXPECT_TRUE(empty.shortcutNames.empty());
    EXPECT_EQ(empty.initialText, "");
    const auto& offered = prompts.pickers[1];
    EXPECT_EQ(offered.informativeText, "选择一个已有快捷指令，Quilla 会把 Finder 选中的文件传给它。");
    EXPECT_EQ(offered.shortcutNames, (std::vector<std::string>{"Backup", "Zip Them"}));
    EXPECT_EQ(offered.initialText, "Backup");
    EXPECT_TRUE(CustomShortcutActionStore::availableShortcutNames(paths::shortcutsDir() / "missing").empty());
}

TEST_F(CustomShortcutActionStoreTest, AScriptIsNamedAfterItsFileWithoutTheExtension) {
    CustomShortcutActionStore store(persistence);
    addScript(store, "/home/me/bin/clean-up.py");
    addScript(store, "/home/me/bin/clean-up.py");
    addScript(store, "/home/me/bin/.profile");
    prompts.scriptAnswer = std::nullopt;
    store.addScriptAction(prompts);
    ASSERT_EQ(store.actions().size(), 3u);
    EXPECT_EQ(store.actions()[0].name, "clean-up");
    EXPECT_EQ(store.actions()[0].kind, Kind::script);
    EXPECT_EQ(store.actions()[0].detailText(), "/home/me/bin/clean-up.py");
    EXPECT_EQ(store.actions()[0].shortcutName, "");
    EXPECT_NE(store.actions()[0].id, store.actions()[1].id);
    EXPECT_EQ(store.actions()[2].name, ".profile");

    const auto& panel = prompts.panels.front();
    EXPECT_EQ(panel.title, "选择扩展脚本");
    EXPECT_EQ(panel.confirmButtonTitle, "添加");
    EXPECT_TRUE(panel.canChooseFiles);
    EXPECT_FALSE(panel.canChooseDirectories || panel.canCreateDirectories || panel.allowsMultipleSelection);
    // The filter covers what the runner interprets; any other (executable) file stays choosable.
    EXPECT_EQ(panel.nameFilters, (std::vector<std::string>{"*.sh", "*.bash", "*.zsh", "*.py"}));
    EXPECT_TRUE(panel.offersAllFiles);
    EXPECT_EQ(panel.startDirectory, home.home());
}

TEST_F(CustomShortcutActionStoreTest, RenamingTrimsAndFallsBackToTheDetailText) {
    CustomShortcutActionStore store(persistence);
    addShortcut(store, "Resize");
    addScript(store, "/s/run.sh");
    const auto shortcut = store.actions()[0];
    const auto script = store.actions()[1];

    store.update(shortcut, "  缩小图片 ");
    EXPECT_EQ(store.actions()[0].name, "缩小图片");
    store.update(store.actions()[0], "\u3000\n");
    EXPECT_EQ(store.actions()[0].name, "Resize");
    store.update(script, " ");
    EXPECT_EQ(store.actions()[1].name, "/s/run.sh");
    EXPECT_EQ(CustomShortcutActionPersistence::action(script.id)->name, "/s/run.sh");

    const auto saves = notifier.reasons.size();
    store.update(CustomShortcutAction{"unknown", "x", Kind::shortcut, "x", ""}, "New");
    EXPECT_EQ(notifier.reasons.size(), saves);
}

TEST_F(CustomShortcutActionStoreTest, EachRemovalSavesAndMovingSavesOnce) {
    CustomShortcutActionStore store(persistence);
    for (const char* name : {"A", "B", "C", "D"}) {
        addShortcut(store, name);
    }
    notifier.reasons.clear();
    store.removeActions({0, 2, 7});
    EXPECT_EQ(notifier.reasons, std::vector<std::string>(2, "custom-shortcut-actions"));
    store.moveActions({1}, 0);
    ASSERT_EQ(store.actions().size(), 2u);
    EXPECT_EQ(store.actions()[0].name, "D");
    EXPECT_EQ(store.actions()[1].name, "B");
    EXPECT_EQ(notifier.reasons.size(), 3u);
    EXPECT_EQ(CustomShortcutActionPersistence::load(), store.actions());
}

TEST_F(CustomShortcutActionStoreTest, AnIndependentReaderSeesAllFiveStringsOfEveryEntry) {
    CustomShortcutActionStore store(persistence);
    addShortcut(store, "Resize");
    addScript(store, "/s/run.sh");
    EXPECT_EQ(test::pythonOutput(appCopy(), "d = plistlib.load(open(path, 'rb'))\n"
                                            "for e in d:\n"
                                            "    assert sorted(e) == ['id', 'kind', 'name', 'scriptPath', 'shortcutName'], e\n"
                                            "    assert all(isinstance(v, str) for v in e.values()), e\n"
                                            "    print(e['kind'], repr(e['shortcutName']), repr(e['scriptPath']))\n"),
              "shortcut 'Resize' ''\nscript '' '/s/run.sh'\n");
}

TEST_F(CustomShortcutActionStoreTest, AFailedSaveKeepsTheActionAndPostsNothing) {
    CustomShortcutActionStore store(persistence);
    fs::remove_all(paths::appSupportDir());
    test::writeFile(paths::appSupportDir(), "in the way");
    addShortcut(store, "Resize");
    EXPECT_EQ(store.actions().size(), 1u);
    EXPECT_EQ(notifier.reasons.size(), 1u);
}
