#include "app/core/lists/CustomDestinationStore.h"
#include "app/core/lists/tests/ListsTestSupport.h"
#include "shared/QuillaPaths.h"
#include "shared/Uuid.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestEnv.h"

#include <gtest/gtest.h>

using namespace quilla;
namespace fs = std::filesystem;

namespace {

using Kind = CustomDestinationKind;

std::vector<std::string> ids(const std::vector<CustomDestination>& list) {
    std::vector<std::string> result;
    for (const auto& item : list) {
        result.push_back(item.id);
    }
    return result;
}

plist::Value destinationList(const std::vector<CustomDestination>& list) {
    std::vector<std::vector<std::pair<std::string, std::string>>> items;
    for (const auto& item : list) {
        items.push_back({{"id", item.id}, {"name", item.name}, {"path", item.path}});
    }
    return test::entries(items);
}

class CustomDestinationStoreTest : public ::testing::Test {
protected:
    test::ScopedHome home;
    test::TempDir system;
    test::ScopedEnv dataDirs{"XDG_DATA_DIRS", system.path().string()};
    RecordingSettingsChangeNotifier notifier;
    CustomDestinationPersistence persistence{notifier};
    test::FakeListPrompts prompts;

    void SetUp() override {
        install("org.gnome.Evince.desktop", "Document Viewer");
        install("libreoffice-calc.desktop", "LibreOffice Calc");
    }

    std::string folder(const char* name) const { return (home.home() / name).string(); }
    std::string installedPath(const std::string& id) const { return (system / ("applications/" + id)).string(); }
    void install(const std::string& id, const std::string& name, std::string_view extra = {}) {
        test::writeFile(installedPath(id), test::desktopEntryText(name, extra));
    }

    static fs::path appCopy() { return CustomDestinationPersistence::applicationCopy(); }
    static fs::path extensionCopy() { return paths::extensionSupportDir() / "CustomDestinations.plist"; }
    void writeSaved(const plist::Dict& root) { test::writeFile(appCopy(), plist::toXML(plist::Value(root))); }
};

} // namespace

TEST_F(CustomDestinationStoreTest, FirstStartHoldsTheDefaultsInBothCopiesAndNotifiesOnce) {
    CustomDestinationStore store(persistence);
    const std::vector<CustomDestination> files{
        {"桌面", "桌面", folder("Desktop")}, {"下载", "下载", folder("Downloads")}, {"文稿", "文稿", folder("Documents")}};
    EXPECT_EQ(store.destinations(Kind::copy), files);
    EXPECT_EQ(store.destinations(Kind::move), files);
    EXPECT_EQ(ids(store.destinations(Kind::quickOpen)),
              (std::vector<std::string>{"home", "桌面", "下载", "文稿", "pictures", "applications"}));
    EXPECT_EQ(store.destinations(Kind::quickOpen).front(),
              (CustomDestination{"home", "用户目录", home.home().string()}));
    EXPECT_EQ(store.destinations(Kind::quickOpen).back(),
              (CustomDestination{"applications", "应用程序", "/usr/share/applications"}));
    EXPECT_EQ(store.destinations(Kind::openApplication),
              (std::vector<CustomDestination>{
                  {"preview", "Document Viewer", installedPath("org.gnome.Evince.desktop")},
                  {"numbers", "LibreOffice Calc", installedPath("libreoffice-calc.desktop")}}));
    EXPECT_EQ(notifier.reasons, std::vector<std::string>{"custom-destinations"});
    EXPECT_EQ(test::readText(appCopy()), test::readText(extensionCopy()));
    EXPECT_EQ(CustomDestinationPersistence::load()->size(), 4u);
}

TEST_F(CustomDestinationStoreTest, DefaultFoldersFollowTheUsersLocalisedFolderNames) {
    test::writeFile(paths::configHome() / "user-dirs.dirs",
                    "XDG_DESKTOP_DIR=\"$HOME/桌面\"\nXDG_PICTURES_DIR=\"/srv/图片\"\n");
    CustomDestinationStore store(persistence);
    EXPECT_EQ(store.destinations(Kind::move).front().path, folder("桌面"));
    EXPECT_EQ(store.destinations(Kind::quickOpen)[4], (CustomDestination{"pictures", "图片", "/srv/图片"}));
}

TEST_F(CustomDestinationStoreTest, EachDefaultApplicationIsTheFirstInstalledCandidate) {
    struct Case {
        std::vector<std::pair<std::string, std::string>> installed; // id, extra lines
        std::vector<std::string> expectedPaths;
    };
    const std::string userDir = (paths::dataHome() / "applications").string();
    const Case cases[] = {
        {{}, {}},
        {{{"org.gnome.Papers.desktop", ""}, {"org.gnome.Evince.desktop", ""}}, {"org.gnome.Evince.desktop"}},
        {{{"org.gnome.Papers.desktop", ""}}, {"org.gnome.Papers.desktop"}},
        {{{"org.gnome.gedit.desktop", ""}, {"libreoffice-impress.desktop", ""}, {"libreoffice-writer.desktop", ""}},
         {"org.gnome.gedit.desktop", "libreoffice-writer.desktop", "libreoffice-impress.desktop"}},
        {{{"org.gnome.TextEditor.desktop", "Hidden=true\n"}, {"org.gnome.gedit.desktop", ""}}, {"org.gnome.gedit.desktop"}},
    };
    for (const auto& c : cases) {
        fs::remove_all(system / "applications");
        for (const auto& [id, extra] : c.installed) {
            install(id, "App " + id, extra);
        }
        std::vector<std::string> paths;
        for (const auto& item : CustomDestinationStore::defaultDestinations(Kind::openApplication)) {
            EXPECT_EQ(item.name, "App " + fs::path(item.path).filename().string());
            paths.push_back(fs::path(item.path).filename().string());
        }
        EXPECT_EQ(paths, c.expectedPaths) << c.installed.size();
    }
    // The user's own copy of an entry takes precedence, and a hidden one removes it.
    fs::remove_all(system / "applications");
    install("org.gnome.Evince.desktop", "System Viewer");
    test::writeFile(userDir + "/org.gnome.Evince.desktop", test::desktopEntryText("My Viewer"));
    EXPECT_EQ(CustomDestinationStore::defaultDestinations(Kind::openApplication).front(),
              (CustomDestination{"preview", "My Viewer", userDir + "/org.gnome.Evince.desktop"}));
    test::writeFile(userDir + "/org.gnome.Evince.desktop", test::desktopEntryText("My Viewer", "Hidden=true\n"));
    EXPECT_TRUE(CustomDestinationStore::defaultDestinations(Kind::openApplication).empty());
}

TEST_F(CustomDestinationStoreTest, AnyWronglyShapedFileCountsAsAbsentAndIsKeptAside) {
    const plist::Value good = destinationList({{"U", "Mine", "/mine"}});
    const std::pair<const char*, std::string> cases[] = {
        {"not a property list", "garbage \x01\x02"},
        {"root is an array", plist::toXML(good)},
        {"list is a dictionary", plist::toXML(plist::Dict{{"copy", plist::Dict{}}})},
        {"entry is a string", plist::toXML(plist::Dict{{"copy", plist::Array{"x"}}})},
        {"one number in an entry",
         plist::toXML(plist::Dict{{"copy", good}, {"move", plist::Array{plist::Dict{{"id", "a"}, {"name", 5}}}}})},
        {"one number in an unknown list", plist::toXML(plist::Dict{{"copy", good}, {"later", plist::Array{1}}})},
    };
    for (const auto& [label, bytes] : cases) {
        test::ScopedHome fresh;
        test::writeFile(appCopy(), bytes);
        RecordingSettingsChangeNotifier recorder;
        CustomDestinationPersistence files(recorder);
        CustomDestinationStore store(files);
        EXPECT_EQ(ids(store.destinations(Kind::copy)), (std::vector<std::string>{"桌面", "下载", "文稿"})) << label;
        EXPECT_EQ(recorder.reasons.size(), 1u) << label;
        const auto aside = test::keptAside(appCopy());
        ASSERT_EQ(aside.size(), 1u) << label;
        EXPECT_EQ(test::readText(aside.front()), bytes) << label;
    }
}

TEST_F(CustomDestinationStoreTest, EntriesLackingAKeyAreSkippedAndUnknownListsCarriedThrough) {
    writeSaved({{"copy", test::entries({{{"id", "a"}, {"name", "A"}, {"path", "/a"}, {"colour", "red"}},
                                        {{"id", "b"}, {"name", "B"}},
                                        {{"id", "c"}, {"name", "C"}, {"path", "/c"}}})},
                {"favorites", destinationList({{"f", "F", "/f"}})}});
    CustomDestinationStore store(persistence);
    EXPECT_EQ(ids(store.destinations(Kind::copy)), (std::vector<std::string>{"a", "c", "桌面", "下载", "文稿"}));
    EXPECT_TRUE(test::keptAside(appCopy()).empty());
    EXPECT_EQ(test::pythonOutput(appCopy(), "d = plistlib.load(open(path, 'rb'))\n"
                                            "print(sorted(d['copy'][0]), d['favorites'])\n"),
              "['id', 'name', 'path'] [{'id': 'f', 'name': 'F', 'path': '/f'}]\n");
}

TEST_F(CustomDestinationStoreTest, ABinaryPropertyListIsReadToo) {
    ASSERT_EQ(test::pythonOutput(appCopy(), "import os\nos.makedirs(os.path.dirname(path), exist_ok=True)\n"
                                            "plistlib.dump({'copy': [{'id': 'U', 'name': 'Mine', 'path': '/m'}]},"
                                            " open(path, 'wb'), fmt=plistlib.FMT_BINARY)\n"),
              "");
    CustomDestinationStore store(persistence);
    EXPECT_EQ(ids(store.destinations(Kind::copy)), (std::vector<std::string>{"U", "桌面", "下载", "文稿"}));
}

TEST_F(CustomDestinationStoreTest, StartUpRestoresDefaultsDropsLegacyEntriesAndPutsDefaultApplicationsFirst) {
    const std::string userApp = (system / "mine/editor.desktop").string();
    writeSaved({
        {"copy", destinationList({{"U", "Work", "/work"}, {"x", "Desk", folder("Desktop")}})},
        {"move", plist::Array{}},
        {"quickOpen", destinationList({{"quilla-project", "Quilla", "/src/quilla"}, {"home", "Home", "/h"}})},
        {"openApplication",
         destinationList({{"A", "Editor", userApp},
                          {"preview", "预览", "/System/Applications/Preview.app"},
                          {"vscode", "Code", "/opt/code.desktop"},
                          {"C1", "Cursor", installedPath("cursor.desktop")},
                          {"C2", "Code", "/Applications/Visual Studio Code.app"},
                          {"N", "Calc copy", installedPath("libreoffice-calc.desktop")}})},
    });
    CustomDestinationStore store(persistence);
    // Matching is by id or by path: "Desk" already is the Desktop default.
    EXPECT_EQ(ids(store.destinations(Kind::copy)), (std::vector<std::string>{"U", "x", "下载", "文稿"}));
    EXPECT_EQ(ids(store.destinations(Kind::move)), (std::vector<std::string>{"桌面", "下载", "文稿"}));
    EXPECT_EQ(ids(store.destinations(Kind::quickOpen)),
              (std::vector<std::string>{"home", "桌面", "下载", "文稿", "pictures", "applications"}));
    EXPECT_EQ(store.destinations(Kind::quickOpen).front().name, "Home");
    EXPECT_EQ(ids(store.destinations(Kind::openApplication)), (std::vector<std::string>{"preview", "numbers", "A"}));
    EXPECT_EQ(store.destinations(Kind::openApplication).front().path, installedPath("org.gnome.Evince.desktop"));
}

TEST_F(CustomDestinationStoreTest, ARemovedDefaultIsGoneAtOnceAndBackAtTheEndAfterTheNextStart) {
    {
        CustomDestinationStore store(persistence);
        store.removeDestinations(Kind::copy, {0});
        EXPECT_EQ(ids(CustomDestinationPersistence::load()->at("copy")), (std::vector<std::string>{"下载", "文稿"}));
    }
    CustomDestinationStore restarted(persistence);
    EXPECT_EQ(ids(restarted.destinations(Kind::copy)), (std::vector<std::string>{"下载", "文稿", "桌面"}));
}

TEST_F(CustomDestinationStoreTest, AddingAFolderAppendsItOnceUnderItsFolderName) {
    CustomDestinationStore store(persistence);
    int changes = 0;
    store.observe([&] { ++changes; });
    prompts.folderAnswer = home.home() / "Projects/./Quilla/";
    store.addDestination(Kind::copy, prompts);
    const auto& added = store.destinations(Kind::copy).back();
    EXPECT_TRUE(isUUIDString(added.id));
    EXPECT_EQ(added.name, "Quilla");
    EXPECT_EQ(added.path, folder("Projects/Quilla"));
    EXPECT_EQ(notifier.reasons.size(), 2u);
    EXPECT_EQ(changes, 1);

    // The same path again, or a folder already present under another name, changes nothing.
    for (auto again : {home.home() / "Projects/Quilla", home.home() / "Desktop"}) {
        prompts.folderAnswer = again;
        store.addDestination(Kind::copy, prompts);
    }
    EXPECT_EQ(store.destinations(Kind::copy).size(), 4u);
    EXPECT_EQ(notifier.reasons.size(), 2u);
    EXPECT_EQ(changes, 1);

    // The lists are independent; cancelling or a relative answer adds nothing.
    prompts.folderAnswer = home.home() / "Projects/Quilla";
    store.addDestination(Kind::move, prompts);
    prompts.folderAnswer = std::nullopt;
    store.addDestination(Kind::move, prompts);
    prompts.folderAnswer = fs::path("relative/folder");
    store.addDestination(Kind::move, prompts);
    prompts.folderAnswer = fs::path("/");
    store.addDestination(Kind::quickOpen, prompts);
    EXPECT_EQ(store.destinations(Kind::move).back().path, folder("Projects/Quilla"));
    EXPECT_EQ(store.destinations(Kind::move).size(), 4u);
    EXPECT_EQ(store.destinations(Kind::quickOpen).back().name, "/");
    EXPECT_EQ(prompts.asked, std::vector<std::string>(7, "folder"));
}

TEST_F(CustomDestinationStoreTest, ChoosersShowTheKindsTitlesAndAllowWhatTheListHolds) {
    CustomDestinationStore store(persistence);
    store.addDestination(Kind::move, prompts);
    store.addDestination(Kind::openApplication, prompts);
    ASSERT_EQ(prompts.asked, (std::vector<std::string>{"folder", "application"}));
    const auto& folders = prompts.panels[0];
    EXPECT_EQ(folders.title, "选择要添加到“移动到文件夹”的文件夹");
    EXPECT_EQ(folders.confirmButtonTitle, "添加");
    EXPECT_TRUE(folders.canChooseDirectories && folders.canCreateDirectories);
    EXPECT_FALSE(folders.canChooseFiles || folders.allowsMultipleSelection);
    EXPECT_TRUE(folders.nameFilters.empty());
    const auto& applications = prompts.panels[1];
    EXPECT_EQ(applications.title, "选择常用应用");
    EXPECT_EQ(applications.confirmButtonTitle, "添加");
    EXPECT_TRUE(applications.canChooseFiles);
    EXPECT_FALSE(applications.canChooseDirectories || applications.canCreateDirectories ||
                 applications.allowsMultipleSelection);
    EXPECT_EQ(applications.startDirectory, fs::path("/usr/share/applications"));
    EXPECT_EQ(applications.nameFilters, std::vector<std::string>{"*.desktop"});
}

TEST_F(CustomDestinationStoreTest, ApplicationsAreNamedAfterTheirDesktopEntry) {
    test::writeFile(system / "opt/editor.desktop", test::desktopEntryText("Fancy Editor"));
    test::writeFile(system / "opt/nameless.desktop", "[Desktop Entry]\nExec=x\n");
    const std::pair<std::string, std::string> cases[] = {
        {(system / "opt/editor.desktop").string(), "Fancy Editor"},
        {(system / "opt/nameless.desktop").string(), "nameless"},
        {(system / "opt/missing.desktop").string(), "missing"},
        {"/opt/tools/run-me.sh", "run-me.sh"},
    };
    for (const auto& [path, name] : cases) {
        EXPECT_EQ(CustomDestinationStore::displayName(Kind::openApplication, path), name);
    }
    EXPECT_EQ(CustomDestinationStore::displayName(Kind::copy, (system / "opt/editor.desktop").string()),
              "editor.desktop");

    CustomDestinationStore store(persistence);
    prompts.applicationAnswer = system / "opt/editor.desktop";
    store.addDestination(Kind::openApplication, prompts);
    EXPECT_EQ(store.destinations(Kind::openApplication).back().name, "Fancy Editor");
    EXPECT_EQ(store.destinations(Kind::openApplication).size(), 3u);

    // Only an existing desktop entry is an application the menu can launch.
    test::writeFile(system / "opt/run-me.sh", "#!/bin/sh\n");
    for (const auto& path : {system / "opt/run-me.sh", system / "opt/missing.desktop", system / "opt"}) {
        prompts.applicationAnswer = path;
        store.addDestination(Kind::openApplication, prompts);
        EXPECT_EQ(store.destinations(Kind::openApplication).size(), 3u) << path;
    }
}

TEST_F(CustomDestinationStoreTest, RemovingAndMovingSaveOnceEach) {
    CustomDestinationStore store(persistence);
    for (const char* name : {"A", "B"}) {
        prompts.folderAnswer = home.home() / name;
        store.addDestination(Kind::copy, prompts);
    }
    const auto before = notifier.reasons.size();
    store.removeDestinations(Kind::copy, {0, 2, 9});
    EXPECT_EQ(ids(store.destinations(Kind::copy)).front(), "下载");
    EXPECT_EQ(store.destinations(Kind::copy).size(), 3u);
    EXPECT_EQ(notifier.reasons.size(), before + 1);

    store.moveDestinations(Kind::copy, {0}, 3); // 下载, A, B → A, B, 下载
    const auto& list = store.destinations(Kind::copy);
    EXPECT_EQ(list[0].name, "A");
    EXPECT_EQ(list[2].name, "下载");
    EXPECT_EQ(notifier.reasons.size(), before + 2);
    EXPECT_EQ(CustomDestinationPersistence::load()->at("copy"), list);
}

TEST_F(CustomDestinationStoreTest, AnIndependentReaderSeesFourListsOfThreeStrings) {
    CustomDestinationStore store(persistence);
    EXPECT_EQ(test::pythonOutput(appCopy(), "d = plistlib.load(open(path, 'rb'))\n"
                                            "print(sorted(d))\n"
                                            "for items in d.values():\n"
                                            "    assert isinstance(items, list)\n"
                                            "    for e in items:\n"
                                            "        assert sorted(e) == ['id', 'name', 'path'], e\n"
                                            "        assert all(isinstance(v, str) for v in e.values()), e\n"
                                            "print(d['quickOpen'][0]['name'])\n"),
              "['copy', 'move', 'openApplication', 'quickOpen']\n用户目录\n");
}

TEST_F(CustomDestinationStoreTest, FailedSavesKeepTheChangeAndPostNothing) {
    CustomDestinationStore store(persistence);
    // The extension's copy cannot be written: the application's copy is, the notification is not.
    fs::remove_all(paths::extensionSupportDir());
    test::writeFile(paths::extensionSupportDir(), "in the way");
    prompts.folderAnswer = home.home() / "A";
    store.addDestination(Kind::copy, prompts);
    EXPECT_EQ(store.destinations(Kind::copy).back().name, "A");
    EXPECT_EQ(CustomDestinationPersistence::load()->at("copy").back().name, "A");
    EXPECT_EQ(notifier.reasons.size(), 1u);

    // The application's copy cannot be written: the extension's is not tried.
    fs::remove(paths::extensionSupportDir());
    ASSERT_TRUE(persistence.save(*CustomDestinationPersistence::load()));
    fs::remove(appCopy());
    fs::create_directory(appCopy());
    prompts.folderAnswer = home.home() / "B";
    store.addDestination(Kind::copy, prompts);
    EXPECT_EQ(store.destinations(Kind::copy).back().name, "B");
    EXPECT_EQ(test::readText(extensionCopy()).find("/B<"), std::string::npos);
    EXPECT_EQ(notifier.reasons.size(), 2u);
}

TEST_F(CustomDestinationStoreTest, AHundredThousandEntriesLoadInOrder) {
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict><key>quickOpen</key><array>";
    for (int i = 0; i < 100'000; ++i) {
        const auto n = std::to_string(i);
        xml += "<dict><key>id</key><string>id" + n + "</string><key>name</key><string>n" + n +
               "</string><key>path</key><string>/p/" + n + "</string></dict>";
    }
    xml += "</array></dict></plist>\n";
    test::writeFile(appCopy(), xml);
    CustomDestinationStore store(persistence);
    const auto& list = store.destinations(Kind::quickOpen);
    ASSERT_EQ(list.size(), 100'006u);
    EXPECT_EQ(list[99'999], (CustomDestination{"id99999", "n99999", "/p/99999"}));
    EXPECT_EQ(list.back().id, "applications");
}

TEST(CustomDestinationKindTest, TextsAndKeys) {
    struct Case {
        Kind kind;
        const char* raw;
        const char* section;
        const char* button;
        const char* panel;
    };
    const Case cases[] = {
        {Kind::copy, "copy", "复制到文件夹列表", "添加常用路径", "选择要添加到“复制到文件夹”的文件夹"},
        {Kind::move, "move", "移动到文件夹列表", "添加常用路径", "选择要添加到“移动到文件夹”的文件夹"},
        {Kind::quickOpen, "quickOpen", "打开列表", "添加常用路径", "选择要添加到“打开”的文件夹"},
        {Kind::openApplication, "openApplication", "常用应用", "添加应用", "选择常用应用"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(rawValue(c.kind), c.raw);
        EXPECT_EQ(customDestinationKindFromRaw(c.raw), c.kind);
        EXPECT_EQ(sectionTitle(c.kind), c.section);
        EXPECT_EQ(addButtonTitle(c.kind), c.button);
        EXPECT_EQ(addPanelTitle(c.kind), c.panel);
    }
    EXPECT_EQ(title(Kind::openApplication), "用应用打开");
    EXPECT_FALSE(customDestinationKindFromRaw("Copy"));
}
