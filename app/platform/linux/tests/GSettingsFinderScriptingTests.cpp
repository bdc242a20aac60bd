#include "app/core/executor/FinderActionExecutionError.h"
#include "app/core/executor/FinderActionExecutor.h"
#include "app/core/lists/FinderViewPresetPersistence.h"
#include "app/core/tests/fakes/FakePlatform.h"
#include "app/platform/linux/GSettingsFinderScripting.h"
#include "shared/FileIO.h"
#include "shared/QuillaPaths.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestEnv.h"
#include "app/core/tests/fakes/FailureText.h"

#include <gio/gio.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/wait.h>

using namespace quilla;
namespace fs = std::filesystem;

namespace {

constexpr const char* kChildMarker = "QUILLA_GSETTINGS_WITHOUT_SCHEMAS";

// GSettings reads its schema directory once per process, so the whole test process uses one
// compiled test schema (the Files schema as Debian ships it, and GTK's file-chooser key) with the
// memory backend: nothing reaches the developer's real settings.
class TestSchemas final : public ::testing::Environment {
public:
    void SetUp() override {
        if (std::getenv(kChildMarker)) {
            return; // the child process keeps the empty schema folders it was started with
        }
        const auto dir = quilla::test::testRoot() / "schemas";
        fs::create_directories(dir);
        fs::copy_file("/usr/share/glib-2.0/schemas/org.gnome.nautilus.gschema.xml",
                      dir / "org.gnome.nautilus.gschema.xml", fs::copy_options::overwrite_existing);
        std::ofstream(dir / "org.gtk.gtk4.Settings.FileChooser.gschema.xml")
            << "<schemalist><schema id='org.gtk.gtk4.Settings.FileChooser' path='/org/gtk/gtk4/settings/file-chooser/'>"
               "<key name='show-hidden' type='b'><default>false</default></key></schema></schemalist>";
        ASSERT_EQ(std::system(("glib-compile-schemas '" + dir.string() + "'").c_str()), 0);
        ::setenv("GSETTINGS_SCHEMA_DIR", dir.c_str(), 1);
        ::setenv("GSETTINGS_BACKEND", "memory", 1);
        ::setenv("XDG_DATA_DIRS", (quilla::test::testRoot() / "no-data-dirs").c_str(), 1);
    }
};

[[maybe_unused]] const auto* const kSchemas = ::testing::AddGlobalTestEnvironment(new TestSchemas);

// An independent reader of the stored values.
std::string stored(const char* key) {
    GSettings* settings = g_settings_new("org.gnome.nautilus.preferences");
    gchar* value = g_settings_get_string(settings, key);
    std::string text = value;
    g_free(value);
    g_object_unref(settings);
    return text;
}

bool storedFlag(const char* schema, const char* key) {
    GSettings* settings = g_settings_new(schema);
    const bool value = g_settings_get_boolean(settings, key);
    g_object_unref(settings);
    return value;
}

void storeReversed(bool value) {
    GSettings* settings = g_settings_new("org.gnome.nautilus.preferences");
    g_settings_set_boolean(settings, "default-sort-in-reverse-order", value);
    g_object_unref(settings);
}

bool reversed() { return storedFlag("org.gnome.nautilus.preferences", "default-sort-in-reverse-order"); }

using quilla::test::failureOf;

std::vector<std::string> logMessages() {
    std::vector<std::string> lines;
    std::istringstream text(quilla::test::readText(paths::appActionLogPath()));
    for (std::string line; std::getline(text, line);) {
        lines.push_back(line.substr(line.find("] ") + 2));
    }
    return lines;
}

} // namespace

TEST(GSettingsFinderScripting, ViewModesMapToTheFolderViewer) {
    GSettingsFinderScripting files;
    for (const auto& [mode, viewer] : std::vector<std::pair<FinderViewMode, std::string>>{
             {FinderViewMode::list, "list-view"},
             {FinderViewMode::icon, "icon-view"},
             {FinderViewMode::column, "list-view"},
             {FinderViewMode::gallery, "icon-view"}}) {
        files.setViewMode(mode);
        EXPECT_EQ(stored("default-folder-viewer"), viewer) << rawValue(mode);
    }
}

TEST(GSettingsFinderScripting, SortColumnsSwitchToListViewAndTakeTheirDirection) {
    GSettingsFinderScripting files;
    for (const bool before : {true, false}) {
        for (const auto& [mode, state] : std::vector<std::pair<FinderSortMode, std::string>>{
                 {FinderSortMode::size, "size/reversed"},
                 {FinderSortMode::name, "name/normal"},
                 {FinderSortMode::modificationDate, "mtime/reversed"},
                 {FinderSortMode::creationDate, "btime/reversed"},
                 {FinderSortMode::kind, "type/normal"},
                 {FinderSortMode::label, "starred/normal"}}) {
            storeReversed(before);
            files.setViewMode(FinderViewMode::icon);
            files.setSortColumn(mode);
            EXPECT_EQ(files.viewSortState(), "list-view | sort=" + state) << rawValue(mode);
        }
    }
}

TEST(GSettingsFinderScripting, PresetViewsTakeSortAndDirectionOnlyWhereTheViewSortsItself) {
    GSettingsFinderScripting files;
    storeReversed(true);
    files.applyView(FinderViewMode::list, FinderSortMode::name);
    EXPECT_EQ(stored("default-sort-order"), "name");
    EXPECT_FALSE(reversed()) << "name sorts in normal direction";
    files.applyView(FinderViewMode::list, FinderSortMode::modificationDate);
    EXPECT_EQ(files.viewSortState(), "list-view | sort=mtime/reversed");
    // The direction of the last sort never sticks to the next one, in whatever view.
    files.applyView(FinderViewMode::icon, FinderSortMode::name);
    EXPECT_EQ(files.viewSortState(), "icon-view | sort=name/normal");

    files.applyView(FinderViewMode::icon, FinderSortMode::size);
    EXPECT_EQ(files.viewSortState(), "icon-view | sort=size/reversed");
    files.applyView(FinderViewMode::column, FinderSortMode::kind);
    EXPECT_EQ(files.viewSortState(), "list-view | sort=size/reversed") << "column view takes no sort with the view";
    files.sortUsingViewOptions(FinderSortMode::kind);
    files.sortUsingViewOptions(FinderSortMode::none);
    EXPECT_EQ(files.viewSortState(), "list-view | sort=type/normal");
}

TEST(GSettingsFinderScripting, PresetsAndHiddenFilesThroughTheExecutor) {
    quilla::test::ScopedHome home;
    quilla::test::FakePlatform fakes;
    GSettingsFinderScripting files;
    const ExecutorContext context{fakes.pasteboard, fakes.workspace, fakes.prompts, files, fakes.trash,
                                  [] { return AppPreferences{}; }};
    const FinderActionExecutor executor(context);
    writeFileAtomically(FinderViewPresetPersistence::applicationCopy(),
                        plist::toXML(FinderViewPresetPersistence::encode(
                            {{"P1", "列表", FinderViewMode::list, FinderSortMode::modificationDate}})));
    EXPECT_TRUE(executor.perform({.actionID = "finderViewPreset__P1"}).empty());
    EXPECT_EQ(logMessages(), (std::vector<std::string>{
                                 "finder sort view options succeeded mode=modificationDate",
                                 "finder view preset applied view=list sort=modificationDate state=list-view | sort=mtime/reversed",
                             }));
    EXPECT_EQ(failureOf([&] { executor.perform({.actionID = "finderViewPreset__"}); }),
              "暂不支持这个右键动作：finderViewPreset。");

    const bool before = storedFlag("org.gtk.gtk4.Settings.FileChooser", "show-hidden");
    executor.perform({.actionID = "toggleHiddenFiles"});
    EXPECT_EQ(storedFlag("org.gtk.gtk4.Settings.FileChooser", "show-hidden"), !before);
    EXPECT_EQ(files.isShowingHiddenFiles(), !before);
    executor.perform({.actionID = "toggleHiddenFiles"});
    EXPECT_EQ(storedFlag("org.gtk.gtk4.Settings.FileChooser", "show-hidden"), before);
}

// Runs in a child process started with empty schema folders: a machine without GNOME Files.
TEST(GSettingsFinderScripting, AMachineWithoutTheSchemasGetsAClearErrorNotACrash) {
    if (!std::getenv(kChildMarker)) {
        const auto empty = quilla::test::testRoot() / "empty-schemas";
        fs::create_directories(empty);
        const auto filter = std::string("--gtest_filter=") + ::testing::UnitTest::GetInstance()->current_test_suite()->name() +
                            "." + ::testing::UnitTest::GetInstance()->current_test_info()->name();
        const auto command = std::string(kChildMarker) + "=1 GSETTINGS_SCHEMA_DIR='" + empty.string() +
                             "' XDG_DATA_DIRS='" + empty.string() + "' /proc/" + std::to_string(::getpid()) +
                             "/exe '" + filter + "' > '" + (empty / "child.log").string() + "' 2>&1";
        const int status = std::system(command.c_str());
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << quilla::test::readText(empty / "child.log");
        return;
    }
    GSettingsFinderScripting files;
    const std::string missingFiles = "没有找到文件管理器的设置：org.gnome.nautilus.preferences";
    EXPECT_EQ(failureOf([&] { files.setViewMode(FinderViewMode::list); }), missingFiles);
    EXPECT_EQ(failureOf([&] { files.setSortColumn(FinderSortMode::name); }), missingFiles);
    EXPECT_EQ(failureOf([&] { files.applyView(FinderViewMode::icon, FinderSortMode::none); }), missingFiles);
    EXPECT_EQ(files.viewSortState(), "unavailable");
    EXPECT_FALSE(files.isShowingHiddenFiles());
    EXPECT_EQ(failureOf([&] { files.setShowingHiddenFiles(true); }),
              "没有找到文件管理器的设置：org.gtk.gtk4.Settings.FileChooser");
    EXPECT_EQ(files.frontFolder(), paths::userDir(paths::UserDir::desktop));
    EXPECT_TRUE(files.selection().empty());
}
