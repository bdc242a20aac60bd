#include "app/core/lists/FinderViewPresetStore.h"
#include "app/core/lists/tests/ListsTestSupport.h"
#include "app/platform/qt/tests/QtTestSupport.h"
#include "app/settings/components/ReorderableRowList.h"
#include "app/settings/lists/FinderViewPresetRow.h"
#include "app/settings/lists/FinderViewPresetSection.h"
#include "app/settings/lists/tests/ListEditorsTestSupport.h"
#include "tests/support/TestEnv.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace quilla;

namespace {

class FinderViewPresetSectionTest : public ::testing::Test {
protected:
    void SetUp() override { test::ensureQtApplication(); }

    test::ScopedHome home;
    RecordingSettingsChangeNotifier notifier;
    FinderViewPresetPersistence persistence{notifier};
    FinderViewPresetStore store{persistence};
    FinderViewPresetSection section{store, {}};

    // "name|viewMode|sortMode" per preset, as another program reads the application's file.
    static std::string saved() {
        return test::pythonOutput(
            FinderViewPresetPersistence::applicationCopy(),
            "for e in plistlib.load(open(path, 'rb')): print(e['name'] + '|' + e['viewMode'] + "
            "'|' + e['sortMode'])");
    }
    FinderViewPresetRow* row(std::size_t index) const {
        return static_cast<FinderViewPresetRow*>(section.rowList()->rows().at(index));
    }
    static void pick(QComboBox* picker, const QString& title) {
        const int index = picker->findText(title);
        ASSERT_GE(index, 0) << title.toStdString();
        picker->setCurrentIndex(index);
        Q_EMIT picker->activated(index); // what a choice in the popup emits
    }
};

} // namespace

TEST_F(FinderViewPresetSectionTest, TheNameIsSavedOnEveryKeystrokeWithoutLosingTheField) {
    ASSERT_EQ(section.rowList()->rows().size(), 3u);
    QLineEdit* field = row(1)->nameField();
    EXPECT_TRUE(field->hasFrame());
    EXPECT_EQ(field->placeholderText(), "方案名称");
    field->setFocus();
    field->clear();
    std::string typed;
    for (const QString key : {"照", "片", " A"}) {
        test::typeInto(field, key);
        typed += key.toStdString();
        EXPECT_EQ(saved().substr(0, saved().find('\n', saved().find('\n') + 1) + 1),
                  "列表 · 最近修改|list|modificationDate\n" + typed + "|icon|name\n");
        EXPECT_EQ(row(1)->nameField(), field) << "the row is kept while typing";
        EXPECT_EQ(field->text().toStdString(), typed);
    }
    EXPECT_EQ(notifier.reasons.size(), 1u + 4u); // the start-up save, then one per keystroke
}

TEST_F(FinderViewPresetSectionTest, PickersRenameAnAutomaticNameAndKeepATypedOne) {
    struct Step {
        std::size_t row;
        const char* picker; // "view" or "sort"
        QString title;
        std::string expectedLine;
    };
    const Step steps[] = {
        {0, "view", "图标视图", "图标 · 按修改日期|icon|modificationDate"},
        {0, "view", "列表视图", "列表 · 按修改日期|list|modificationDate"}, // not back to "最近修改"
        {0, "sort", "按大小排序", "列表 · 按大小|list|size"},
        {2, "sort", "不改变排序", "分栏 · 不改变排序|column|none"},
    };
    for (const auto& s : steps) {
        QComboBox* picker =
            std::string(s.picker) == "view" ? row(s.row)->viewPicker() : row(s.row)->sortPicker();
        pick(picker, s.title);
        EXPECT_NE(saved().find(s.expectedLine + "\n"), std::string::npos) << saved();
        EXPECT_EQ(row(s.row)->nameField()->text().toStdString(),
                  s.expectedLine.substr(0, s.expectedLine.find('|')));
    }
    QLineEdit* field = row(1)->nameField();
    field->clear();
    test::typeInto(field, "我的方案");
    pick(row(1)->viewPicker(), "画廊视图");
    pick(row(1)->sortPicker(), "按种类排序");
    EXPECT_NE(saved().find("我的方案|gallery|kind\n"), std::string::npos) << saved();
    EXPECT_EQ(row(1)->viewPicker()->currentText(), "画廊视图");
}

TEST_F(FinderViewPresetSectionTest, AddRemoveAndMoveReachTheFile) {
    EXPECT_EQ(section.addPresetButton()->text(), "添加显示方案");
    section.addPresetButton()->click();
    ASSERT_EQ(section.rowList()->rows().size(), 4u);
    EXPECT_EQ(row(3)->nameField()->text(), "列表 · 按修改日期");
    EXPECT_EQ(row(3)->viewPicker()->currentText(), "列表视图");
    EXPECT_EQ(row(3)->sortPicker()->currentText(), "按修改日期排序");

    test::dragRow(&section, 3, 0);
    test::clickRemove(&section, 2); // "图标 · 按名称"
    EXPECT_EQ(saved(), "列表 · 按修改日期|list|modificationDate\n列表 · 最近修改|list|modificationDate\n"
                       "分栏 · 按名称|column|name\n");
    QStringList names;
    for (std::size_t i = 0; i < 3; ++i) {
        names << row(i)->nameField()->text();
    }
    EXPECT_EQ(names, (QStringList{"列表 · 按修改日期", "列表 · 最近修改", "分栏 · 按名称"}));
}
