#include "app/platform/qt/tests/QtTestSupport.h"
#include "app/settings/components/ReorderableRowList.h"
#include "app/settings/components/SettingsRowText.h"
#include "app/settings/components/SettingsRows.h"
#include "app/settings/components/SettingsSection.h"
#include "app/settings/components/SettingsSwitch.h"
#include "app/settings/components/SymbolIcons.h"

#include <QGraphicsOpacityEffect>
#include <QLabel>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace quilla;

namespace {

class ComponentTest : public ::testing::Test {
protected:
    void SetUp() override { test::ensureQtApplication(); }
};

TEST_F(ComponentTest, SwitchTogglesWithSpaceAndOnlyTheUserChangeIsAClick) {
    SettingsSwitch toggle;
    toggle.show();
    toggle.setFocus();
    QSignalSpy clicks(&toggle, &SettingsSwitch::clicked);
    EXPECT_EQ(toggle.focusPolicy(), Qt::StrongFocus);

    toggle.setChecked(true); // a store's value being shown
    EXPECT_EQ(clicks.count(), 0);
    QTest::keyClick(&toggle, Qt::Key_Space);
    EXPECT_FALSE(toggle.isChecked());
    ASSERT_EQ(clicks.count(), 1);
    EXPECT_FALSE(clicks.at(0).at(0).toBool());
}

TEST_F(ComponentTest, RowsNameTheirSwitchForScreenReaders) {
    SettingsToggleRow row(QStringLiteral("开机启动"), QStringLiteral("说明"));
    EXPECT_EQ(row.switchButton()->accessibleName(), QStringLiteral("开机启动"));
    FeatureChildRow child("createFolder", "folder.badge.plus", {}, QStringLiteral("新建文件夹"),
                          QStringLiteral("说明"));
    EXPECT_EQ(child.switchButton()->accessibleName(), QStringLiteral("新建文件夹"));
}

TEST_F(ComponentTest, ADisabledChildIsDimmedExceptItsSwitch) {
    FeatureChildRow child("createFolder", "folder.badge.plus", {}, QStringLiteral("新建文件夹"),
                          QStringLiteral("说明"));
    child.setChecked(false);
    EXPECT_TRUE(child.isDimmed());
    const auto* faded = qobject_cast<QGraphicsOpacityEffect*>(child.text()->graphicsEffect());
    ASSERT_NE(faded, nullptr);
    EXPECT_DOUBLE_EQ(faded->opacity(), 0.55);
    EXPECT_EQ(child.switchButton()->graphicsEffect(), nullptr);

    child.switchButton()->click(); // the user turns it on: the row brightens at once
    EXPECT_FALSE(child.isDimmed());
    EXPECT_EQ(child.dragHandle()->toolTip(), QStringLiteral("拖拽调整顺序"));
}

TEST_F(ComponentTest, DropsFromAnotherListAreRefusedAndTheEndIsTheRowCount) {
    QWidget window;
    auto* list = new ReorderableRowList(&window);
    ReorderableRowList other;
    std::vector<QWidget*> rows;
    for (int i = 0; i < 3; ++i) {
        auto* row = new QWidget;
        row->setMinimumHeight(40);
        rows.push_back(row);
    }
    list->setRows(rows);
    window.resize(300, 200);
    list->resize(300, 200);
    window.show();
    ASSERT_TRUE(test::spinUntil([&] { return rows[2]->y() >= 80; }));
    EXPECT_EQ(list->destinationAt(0), 0);
    EXPECT_EQ(list->destinationAt(rows[1]->mapTo(list, QPoint(0, 35)).y()), 2);
    EXPECT_EQ(list->destinationAt(list->height() - 1), 3);

    QSignalSpy moves(list, &ReorderableRowList::moveRequested);
    QMimeData foreign;
    foreign.setData(QString::fromLatin1(ReorderableRowList::mimeType), other.payload(0));
    QDragEnterEvent enter(QPoint(5, 5), Qt::MoveAction, &foreign, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(list, &enter);
    EXPECT_FALSE(enter.isAccepted());
    EXPECT_EQ(moves.count(), 0);
}

TEST_F(ComponentTest, SectionErrorLineShowsAndHides) {
    SettingsSection section(QStringLiteral("菜单"));
    const auto errorLine = [&]() -> QLabel* {
        for (QLabel* label : section.findChildren<QLabel*>()) {
            if (label->text() == QStringLiteral("无法保存")) {
                return label;
            }
        }
        return nullptr;
    };
    section.setErrorMessage(QStringLiteral("无法保存"));
    ASSERT_NE(errorLine(), nullptr);
    EXPECT_TRUE(errorLine()->isVisibleTo(&section));
    section.setErrorMessage({});
    EXPECT_TRUE(errorLine() == nullptr || !errorLine()->isVisibleTo(&section));
}

TEST_F(ComponentTest, AnUnknownSymbolStillDrawsSomething) {
    EXPECT_EQ(SymbolIcons::entry("no.such.symbol"), nullptr);
    EXPECT_FALSE(SymbolIcons::icon("no.such.symbol").isNull());
}

} // namespace
