#include "app/core/deletion/ScheduledDeletionListStore.h"
#include "app/core/lists/CustomDestinationStore.h"
#include "app/core/lists/CustomShortcutActionStore.h"
#include "app/core/lists/FinderViewPresetStore.h"
#include "app/core/lists/tests/ListsTestSupport.h"
#include "app/platform/qt/QtListPrompts.h"
#include "app/platform/qt/tests/QtTestSupport.h"
#include "app/settings/components/ReorderableRowList.h"
#include "app/settings/components/SettingsIconTile.h"
#include "app/settings/components/SettingsSection.h"
#include "app/settings/lists/CustomDestinationRow.h"
#include "app/settings/lists/CustomDestinationSection.h"
#include "app/settings/lists/ElidedLabel.h"
#include "app/settings/lists/FeatureListEditors.h"
#include "app/settings/lists/tests/ListEditorsTestSupport.h"
#include "shared/QuillaPaths.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestEnv.h"

#include <QFileDialog>
#include <QLabel>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace quilla;
namespace fs = std::filesystem;

namespace {

using Kind = CustomDestinationKind;

class CustomDestinationSectionTest : public ::testing::Test {
protected:
    void SetUp() override { test::ensureQtApplication(); }

    test::ScopedHome home;
    RecordingSettingsChangeNotifier notifier;
    CustomDestinationPersistence persistence{notifier};
    CustomDestinationStore store{persistence};
    test::FakeListPrompts prompts;

    // The kind's list as another program reads the application's file.
    static std::string savedList(Kind kind) {
        return test::pythonOutput(CustomDestinationPersistence::applicationCopy(),
                                  "for e in plistlib.load(open(path, 'rb'))['" + std::string(rawValue(kind)) +
                                      "']: print(e['name'], e['path'])");
    }
};

} // namespace

TEST_F(CustomDestinationSectionTest, EachKindAddsRemovesAndMovesThroughItsStoreAndFile) {
    test::TempDir dir;
    const auto app = dir.write("apps/fancy.desktop", test::desktopEntryText("Fancy"));
    struct Case {
        Kind kind;
        QString heading, addTitle;
        std::string tile;
        fs::path answer;
        std::string name;
    };
    const Case cases[] = {
        {Kind::copy, "复制到文件夹列表", "添加常用路径", "folder", dir / "备份", "备份"},
        {Kind::move, "移动到文件夹列表", "添加常用路径", "folder", dir / "归档", "归档"},
        {Kind::quickOpen, "打开列表", "添加常用路径", "folder", dir / "项目", "项目"},
        {Kind::openApplication, "常用应用", "添加应用", "app", app, "Fancy"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(rawValue(c.kind)));
        CustomDestinationSection section(c.kind, store, prompts, {});
        EXPECT_EQ(section.section()->titleLabel()->text(), c.heading);
        EXPECT_EQ(section.addButtonWidget()->text(), c.addTitle);
        const auto before = store.destinations(c.kind);

        prompts.folderAnswer = prompts.applicationAnswer = c.answer;
        section.addButtonWidget()->click();
        const auto& after = store.destinations(c.kind);
        ASSERT_EQ(after.size(), before.size() + 1);
        const auto rows = section.rowList()->rows();
        ASSERT_EQ(rows.size(), after.size());
        auto* added = static_cast<CustomDestinationRow*>(rows.back());
        EXPECT_EQ(added->nameLabel()->text().toStdString(), c.name);
        EXPECT_EQ(added->pathLabel()->fullText().toStdString(), c.answer.string());
        EXPECT_TRUE(added->pathLabel()->textInteractionFlags() & Qt::TextSelectableByMouse);
        EXPECT_EQ(added->findChild<SettingsIconTile*>()->systemImage(), c.tile);
        EXPECT_NE(savedList(c.kind).find(c.name + " " + c.answer.string() + "\n"), std::string::npos);

        // Dragged to the top: first on disk too.
        test::dragRow(&section, static_cast<int>(rows.size()) - 1, 0);
        EXPECT_EQ(store.destinations(c.kind).front().path, c.answer.string());
        EXPECT_EQ(savedList(c.kind).rfind(c.name + " " + c.answer.string() + "\n", 0), 0u)
            << savedList(c.kind);
        EXPECT_EQ(static_cast<CustomDestinationRow*>(section.rowList()->rows().front())
                      ->nameLabel()
                      ->text()
                      .toStdString(),
                  c.name);

        test::clickRemove(&section, 0);
        EXPECT_EQ(store.destinations(c.kind), before);
        EXPECT_EQ(savedList(c.kind).find(c.answer.string()), std::string::npos);
        EXPECT_EQ(section.rowList()->rows().size(), before.size());
    }
}

TEST_F(CustomDestinationSectionTest, DragRuleMovesBeforeTheRowAtTheDestination) {
    for (const char* name : {"A", "B", "C"}) {
        prompts.folderAnswer = home.home() / name;
        store.addDestination(Kind::copy, prompts);
    }
    const auto defaults = store.destinations(Kind::copy).size() - 3;
    CustomDestinationSection section(Kind::copy, store, prompts, {});
    auto names = [&] {
        std::string text;
        for (std::size_t i = defaults; i < store.destinations(Kind::copy).size(); ++i) {
            text += store.destinations(Kind::copy)[i].name;
        }
        return text;
    };
    const int a = static_cast<int>(defaults);
    test::dragRow(&section, a, a + 2); // A before C
    EXPECT_EQ(names(), "BAC");
    test::dragRow(&section, a + 2, a); // C to B's place
    EXPECT_EQ(names(), "CBA");
    test::dragRow(&section, a, a + 3); // to the end
    EXPECT_EQ(names(), "BAC");
    EXPECT_NE(savedList(Kind::copy).find("B " + (home.home() / "B").string() + "\nA "), std::string::npos);
}

TEST_F(CustomDestinationSectionTest, TheRealFolderChooserAddsWhatTheUserPicksAndCancelAddsNothing) {
    QtListPrompts qtPrompts([](const fs::path&) {});
    CustomDestinationSection section(Kind::copy, store, qtPrompts, {});
    const auto picked = home.home() / "Chosen";
    fs::create_directories(picked);
    const auto before = store.destinations(Kind::copy).size();
    {
        test::ModalAnswerer answerer([](QWidget* d) { static_cast<QDialog*>(d)->reject(); });
        section.addButtonWidget()->click();
    }
    EXPECT_EQ(store.destinations(Kind::copy).size(), before);
    {
        test::ModalAnswerer answerer([&](QWidget* d) { test::pickInFileDialog(d, picked); });
        section.addButtonWidget()->click();
    }
    ASSERT_EQ(store.destinations(Kind::copy).size(), before + 1);
    EXPECT_NE(savedList(Kind::copy).find("Chosen " + picked.string()), std::string::npos)
        << savedList(Kind::copy);
}

TEST_F(CustomDestinationSectionTest, EachFeatureWithAListGetsItsEditor) {
    CustomShortcutActionPersistence shortcutPersistence{notifier};
    CustomShortcutActionStore shortcuts{shortcutPersistence};
    FinderViewPresetPersistence presetPersistence{notifier};
    FinderViewPresetStore presets{presetPersistence};
    ScheduledDeletionStore deletionStore;
    ScheduledDeletionListStore deletions{deletionStore};
    ListEditorStores stores{store, shortcuts, presets, deletions, prompts};
    QWidget page;
    const std::pair<std::string, QString> cases[] = {
        {"copyFile", "复制到文件夹列表"},
        {"organizeFile", "移动到文件夹列表"},
        {"quickOpen", "打开列表"},
        {"openWith", "常用应用"},
        {"viewOptions", "显示方案"},
        {"customActions", "自定义动作"},
        {"scheduledDeletion", "等待清理的文件"},
    };
    for (const auto& [feature, heading] : cases) {
        const auto editors = makeFeatureListEditors(feature, stores, &page);
        ASSERT_EQ(editors.size(), 1u) << feature;
        EXPECT_EQ(editors[0]->parentWidget(), &page);
        EXPECT_EQ(editors[0]->findChild<SettingsSection*>()->titleLabel()->text(), heading) << feature;
    }
    for (const char* feature : {"createFile", "copyPath", "developerTools", "nonsense", ""}) {
        EXPECT_TRUE(makeFeatureListEditors(feature, stores, &page).empty()) << feature;
    }
}
