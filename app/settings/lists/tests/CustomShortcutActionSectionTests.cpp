#include "app/core/lists/CustomShortcutActionStore.h"
#include "app/core/lists/tests/ListsTestSupport.h"
#include "app/platform/qt/QtListPrompts.h"
#include "app/platform/qt/tests/QtTestSupport.h"
#include "app/settings/components/ReorderableRowList.h"
#include "app/settings/components/SettingsIconTile.h"
#include "app/settings/lists/CustomShortcutActionRow.h"
#include "app/settings/lists/CustomShortcutActionSection.h"
#include "app/settings/lists/ElidedLabel.h"
#include "app/settings/lists/tests/ListEditorsTestSupport.h"
#include "shared/QuillaPaths.h"
#include "tests/support/TestEnv.h"

#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace quilla;
namespace fs = std::filesystem;

namespace {

class CustomShortcutActionSectionTest : public ::testing::Test {
protected:
    void SetUp() override { test::ensureQtApplication(); }

    test::ScopedHome home;
    RecordingSettingsChangeNotifier notifier;
    CustomShortcutActionPersistence persistence{notifier};
    CustomShortcutActionStore store{persistence};
    test::FakeListPrompts prompts;
    CustomShortcutActionSection section{store, prompts, {}};

    // "name|kind|detail" per entry, as another program reads the application's file.
    static std::string saved() {
        return test::pythonOutput(
            CustomShortcutActionPersistence::applicationCopy(),
            "for e in plistlib.load(open(path, 'rb')): print(e['name'] + '|' + e['kind'] + '|' + "
            "(e['shortcutName'] or e['scriptPath']))");
    }
    CustomShortcutActionRow* row(std::size_t index) const {
        return static_cast<CustomShortcutActionRow*>(section.rowList()->rows().at(index));
    }
    void addScript(const fs::path& path) {
        prompts.scriptAnswer = path;
        section.addScriptButton()->click();
    }
    void addShortcut(const std::string& name) {
        prompts.shortcutAnswer = ShortcutPickerAnswer{name, name};
        section.addShortcutButton()->click();
    }
    bool showsEmptyRow() const {
        return test::showsText(const_cast<CustomShortcutActionSection*>(&section), "还没有自定义动作") &&
               section.rowList()->isHidden();
    }
};

} // namespace

TEST_F(CustomShortcutActionSectionTest, EmptyRowGivesWayToAddedActionsAndComesBackAfterTheLastRemoval) {
    EXPECT_TRUE(showsEmptyRow());
    EXPECT_TRUE(test::showsText(&section, "添加已有快捷指令或扩展后，它会出现在 Finder 右键菜单里。"));
    EXPECT_EQ(section.addShortcutButton()->text(), "添加快捷指令");
    EXPECT_EQ(section.addScriptButton()->text(), "添加扩展");

    addScript("/opt/tools/tidy.py");
    addShortcut("Zip Them");
    EXPECT_FALSE(showsEmptyRow());
    EXPECT_EQ(saved(), "tidy|script|/opt/tools/tidy.py\nZip Them|shortcut|Zip Them\n");
    ASSERT_EQ(section.rowList()->rows().size(), 2u);
    EXPECT_EQ(row(0)->nameField()->text(), "tidy");
    EXPECT_EQ(row(0)->nameField()->placeholderText(), "右键菜单显示名称");
    EXPECT_FALSE(row(0)->nameField()->hasFrame());
    EXPECT_EQ(row(0)->detailLabel()->fullText(), "/opt/tools/tidy.py");
    EXPECT_EQ(row(0)->detailLabel()->toolTip(), "/opt/tools/tidy.py");
    EXPECT_EQ(row(0)->findChild<SettingsIconTile*>()->systemImage(), "terminal");
    EXPECT_EQ(row(1)->findChild<SettingsIconTile*>()->systemImage(), "sparkles");

    test::dragRow(&section, 1, 0);
    EXPECT_EQ(saved(), "Zip Them|shortcut|Zip Them\ntidy|script|/opt/tools/tidy.py\n");
    test::clickRemove(&section, 0);
    EXPECT_EQ(saved(), "tidy|script|/opt/tools/tidy.py\n");
    test::clickRemove(&section, 0);
    EXPECT_EQ(saved(), "");
    EXPECT_TRUE(showsEmptyRow());
}

TEST_F(CustomShortcutActionSectionTest, ANameIsSavedOnReturnTrimmedOrFallingBackToTheDetail) {
    addScript("/opt/tools/tidy.py");
    QLineEdit* field = row(0)->nameField();
    const struct {
        QString typed;
        std::string stored;
    } cases[] = {
        {"  整理下载  ", "整理下载"},
        {" \t ", "/opt/tools/tidy.py"}, // blank: the script's path
        {"清理", "清理"},
    };
    for (const auto& c : cases) {
        field->clear();
        test::typeInto(field, c.typed);
        EXPECT_EQ(saved(), store.actions()[0].name + "|script|/opt/tools/tidy.py\n") << "saved before Return";
        test::pressReturn(field);
        EXPECT_EQ(saved(), c.stored + "|script|/opt/tools/tidy.py\n");
        EXPECT_EQ(field->text().toStdString(), c.stored) << "the field shows what was stored";
        EXPECT_EQ(row(0)->nameField(), field) << "a rename keeps the row";
    }
}

TEST_F(CustomShortcutActionSectionTest,
       AnUncommittedEditSurvivesChangesElsewhereAndTheFieldFollowsItsStoredName) {
    addShortcut("Backup");
    addShortcut("Resize");
    QLineEdit* editing = row(0)->nameField();
    editing->setFocus();
    test::typeInto(editing, " draft");

    store.update(store.actions()[1], "缩小图片"); // e.g. another window renamed the second entry
    EXPECT_EQ(row(0)->nameField(), editing);
    EXPECT_EQ(editing->text(), "Backup draft");
    EXPECT_EQ(row(1)->nameField()->text(), "缩小图片");

    store.update(store.actions()[0], "备份"); // the stored name of the edited row changes: it follows
    EXPECT_EQ(editing->text(), "备份");

    // Removing finds the entry as last shown, even after renames in place.
    test::clickRemove(&section, 1);
    ASSERT_EQ(store.actions().size(), 1u);
    EXPECT_EQ(store.actions()[0].name, "备份");
}

TEST_F(CustomShortcutActionSectionTest, TheRealShortcutPickerAddsTheChosenShortcutAndCancelAddsNothing) {
    QtListPrompts qtPrompts([](const fs::path&) {});
    CustomShortcutActionSection realSection(store, qtPrompts, {});
    test::writeFile(paths::shortcutsDir() / "Zip Them", "#!/bin/sh\n");
    fs::permissions(paths::shortcutsDir() / "Zip Them", fs::perms::owner_all);
    {
        test::ModalAnswerer answerer([](QWidget* d) { static_cast<QDialog*>(d)->reject(); });
        realSection.addShortcutButton()->click();
    }
    EXPECT_TRUE(store.actions().empty());
    {
        test::ModalAnswerer answerer([](QWidget* d) {
            for (auto* button : d->findChildren<QPushButton*>()) {
                if (button->text() == "添加") {
                    button->click();
                }
            }
        });
        realSection.addShortcutButton()->click();
    }
    EXPECT_EQ(saved(), "Zip Them|shortcut|Zip Them\n");
}
