#include "app/platform/qt/tests/QtTestSupport.h"
#include "app/settings/ContentView.h"
#include "app/settings/FeatureDetailView.h"
#include "app/settings/PreferencesDetailView.h"
#include "app/settings/SettingsFileWatcher.h"
#include "app/settings/SidebarRow.h"
#include "app/settings/SidebarView.h"
#include "app/settings/components/ReorderableRowList.h"
#include "app/settings/components/SettingsRows.h"
#include "app/settings/components/SettingsSection.h"
#include "app/settings/components/SettingsSwitch.h"
#include "app/settings/tests/SettingsTestSupport.h"
#include "shared/QuillaPaths.h"

#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace quilla;

namespace {

class ContentViewTest : public ::testing::Test {
protected:
    void SetUp() override { test::ensureQtApplication(); }

    test::SettingsFixture fixture;
    ContentView view{fixture.stores, fixture.platform()};

    SidebarRow* sidebarRow(QuillaFeature feature) const {
        const auto order = fixture.features.orderedFeatures();
        const auto at = std::find(order.begin(), order.end(), feature) - order.begin();
        return view.sidebar()->featureRows().at(static_cast<std::size_t>(at));
    }

    // A drop of row `from` onto the middle of row `onto`, as the drag would end.
    static void dropRow(ReorderableRowList& list, int from, int onto) {
        list.window()->resize(860, 560);
        list.window()->show();
        // Laid out: no row overlaps the next (the layout settles over several turns).
        ASSERT_TRUE(test::spinUntil([&] {
            const auto& rows = list.rows();
            for (std::size_t i = 1; i < rows.size(); ++i) {
                if (rows[i]->y() < rows[i - 1]->y() + rows[i - 1]->minimumHeight()) {
                    return false;
                }
            }
            return true;
        }));
        QWidget* target = list.rows().at(static_cast<std::size_t>(onto));
        const QPoint at = target->mapTo(&list, QPoint(10, 2));
        QMimeData data;
        data.setData(QString::fromLatin1(ReorderableRowList::mimeType), list.payload(from));
        QDragEnterEvent enter(at, Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&list, &enter);
        QDropEvent drop(at, Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&list, &drop);
    }
};

TEST_F(ContentViewTest, OpensOnTheFirstCatalogFeatureWithItsRowHighlighted) {
    ASSERT_NE(view.featurePage(), nullptr);
    EXPECT_EQ(view.featurePage()->feature(), QuillaFeature::createFile);
    EXPECT_TRUE(sidebarRow(QuillaFeature::createFile)->isSelected());
    EXPECT_FALSE(view.sidebar()->preferencesRow()->isSelected());
}

TEST_F(ContentViewTest, SidebarSwitchWritesTheFileAndTheOpenPageFollowsWithoutLeavingIt) {
    SettingsSwitch* featureSwitch = sidebarRow(QuillaFeature::createFile)->switchButton();
    ASSERT_TRUE(featureSwitch->isChecked());
    featureSwitch->click();

    EXPECT_FALSE(fixture.features.isEnabled(QuillaFeature::createFile));
    EXPECT_EQ(test::SettingsFixture::readFeatureFile("'createFile' in d['enabledFeatureIDs']"), "False");
    EXPECT_EQ(view.featurePage()->feature(), QuillaFeature::createFile);
    EXPECT_FALSE(view.featurePage()->enabledRow()->isChecked());

    view.featurePage()->enabledRow()->switchButton()->click();
    EXPECT_TRUE(featureSwitch->isChecked());
    EXPECT_EQ(test::SettingsFixture::readFeatureFile("'createFile' in d['enabledFeatureIDs']"), "True");
}

TEST_F(ContentViewTest, AChangeThatCouldNotBeSavedSaysSoUnderItsSection) {
    const auto extensionCopy = paths::extensionSupportDir() / test::SettingsFixture::featureFile().filename();
    std::filesystem::remove(extensionCopy);
    std::filesystem::create_directory(extensionCopy); // a folder in the file's place: the write fails
    sidebarRow(QuillaFeature::createFile)->switchButton()->click();
    EXPECT_TRUE(fixture.features.lastSaveFailed());
    const auto errorShown = [](QWidget* section) {
        for (QLabel* label : section->findChildren<QLabel*>()) {
            if (label->text() == QStringLiteral("无法保存设置，右键菜单没有更新。") &&
                label->isVisibleTo(section)) {
                return true;
            }
        }
        return false;
    };
    QWidget* featureSection = view.sidebar()->featureList()->parentWidget();
    EXPECT_TRUE(errorShown(featureSection));

    std::filesystem::remove(extensionCopy);
    sidebarRow(QuillaFeature::createFile)->switchButton()->click();
    EXPECT_FALSE(errorShown(featureSection));
}

TEST_F(ContentViewTest, GroupingSwitchWritesTheFlag) {
    SettingsSwitch* grouping = view.sidebar()->groupingRow()->switchButton();
    const bool before = fixture.features.groupsFeaturesUnderQuilla();
    EXPECT_EQ(grouping->isChecked(), before);
    grouping->click();
    EXPECT_EQ(test::SettingsFixture::readFeatureFile("d['groupsFeaturesUnderQuilla']"),
              before ? "False" : "True");
}

TEST_F(ContentViewTest, DroppingTheLastFeatureOnTheFirstReordersStoreFileAndSidebar) {
    ReorderableRowList* list = view.sidebar()->featureList();
    const auto before = fixture.features.orderedFeatures();
    const int last = static_cast<int>(before.size()) - 1;
    dropRow(*list, last, 0);

    const auto after = fixture.features.orderedFeatures();
    EXPECT_EQ(after.front(), before.back());
    EXPECT_EQ(test::SettingsFixture::readFeatureFile("d['featureOrder'][0]"), rawValue(before.back()));
    ASSERT_EQ(view.sidebar()->featureRows().size(), after.size());
    EXPECT_EQ(view.sidebar()->featureRows().front()->accessibleName().toStdString(),
              quilla::title(before.back()));
    // The page shown stays highlighted in its new place.
    EXPECT_TRUE(sidebarRow(QuillaFeature::createFile)->isSelected());
}

TEST_F(ContentViewTest, ADropWhereTheRowAlreadyIsChangesNothing) {
    ReorderableRowList* list = view.sidebar()->featureList();
    const auto before = fixture.features.featureOrder();
    const auto reasons = fixture.notifier.reasons.size();
    dropRow(*list, 2, 2);
    EXPECT_EQ(fixture.features.featureOrder(), before);
    EXPECT_EQ(fixture.notifier.reasons.size(), reasons);
}

TEST_F(ContentViewTest, RowsSelectPagesByClickAndKeyboard) {
    QTest::mouseClick(view.sidebar()->preferencesRow(), Qt::LeftButton);
    ASSERT_NE(view.preferencesPage(), nullptr);
    EXPECT_TRUE(view.sidebar()->preferencesRow()->isSelected());
    EXPECT_FALSE(sidebarRow(QuillaFeature::createFile)->isSelected());

    QTest::keyClick(sidebarRow(QuillaFeature::organizeFile), Qt::Key_Return);
    ASSERT_NE(view.featurePage(), nullptr);
    EXPECT_EQ(view.featurePage()->feature(), QuillaFeature::organizeFile);

    // Up and Down walk the rows and the page follows; the update row only takes the focus.
    const auto order = fixture.features.orderedFeatures();
    QTest::keyClick(view.sidebar()->featureRows().front(), Qt::Key_Down);
    EXPECT_EQ(view.featurePage()->feature(), order[1]);
    QTest::keyClick(view.sidebar()->featureRows().back(), Qt::Key_Down);
    EXPECT_NE(view.preferencesPage(), nullptr);
    QTest::keyClick(view.sidebar()->preferencesRow(), Qt::Key_Down);
    EXPECT_NE(view.preferencesPage(), nullptr);
    QTest::keyClick(view.sidebar()->preferencesRow(), Qt::Key_Up);
    ASSERT_NE(view.featurePage(), nullptr);
    EXPECT_EQ(view.featurePage()->feature(), order.back());
}

TEST_F(ContentViewTest, UpdateRowShowsTheVersionFormat) {
    EXPECT_TRUE(view.sidebar()->updateRow()->accessibleName().contains(QStringLiteral("检查更新")));
    EXPECT_TRUE(ContentView::versionText().startsWith(QStringLiteral("当前版本 ")));
    EXPECT_TRUE(ContentView::versionText().endsWith(QLatin1Char(')')));
}

TEST_F(ContentViewTest, AFileChangedByAnotherProcessReachesTheOpenWindow) {
    SettingsFileWatcher watcher(
        QString::fromStdString(paths::appSupportDir().string()),
        {QString::fromStdString(test::SettingsFixture::featureFile().filename().string())},
        [this] { fixture.features.reload(); });
    // Another process: its own persistence and store over the same files.
    RecordingSettingsChangeNotifier otherNotifier;
    FeatureSettingsPersistence otherPersistence(otherNotifier);
    FeatureSettingsStore other(otherPersistence);
    other.setEnabled(false, QuillaFeature::createFile);
    other.setMenuLayout(FinderMenuLayout::expanded);

    EXPECT_TRUE(
        test::spinUntil([&] { return !sidebarRow(QuillaFeature::createFile)->switchButton()->isChecked(); }));
    EXPECT_FALSE(view.featurePage()->enabledRow()->isChecked());
    EXPECT_EQ(fixture.features.menuLayout(), FinderMenuLayout::expanded);

    // The watch survives the atomic rename: a second save arrives as well.
    other.setEnabled(true, QuillaFeature::createFile);
    EXPECT_TRUE(
        test::spinUntil([&] { return sidebarRow(QuillaFeature::createFile)->switchButton()->isChecked(); }));
}

TEST_F(ContentViewTest, ADamagedFileOnDiskKeepsTheWindowsValues) {
    fixture.features.setEnabled(false, QuillaFeature::openWith);
    std::filesystem::resize_file(test::SettingsFixture::featureFile(), 10);
    EXPECT_FALSE(fixture.features.reload());
    EXPECT_FALSE(fixture.features.isEnabled(QuillaFeature::openWith));
    EXPECT_TRUE(fixture.features.isEnabled(QuillaFeature::createFile));
}

class FeatureDetailViewTest : public ContentViewTest {
protected:
    FeatureDetailView* page(QuillaFeature feature) {
        view.select(SettingsPage::forFeature(feature));
        return view.featurePage();
    }
};

TEST_F(FeatureDetailViewTest, ToggleAllReadsAndActsOnTheChildrensStates) {
    FeatureDetailView* detail = page(QuillaFeature::createFile);
    const auto children = fixture.features.orderedChildren(QuillaFeature::createFile);
    ASSERT_GE(children.size(), 2u);
    fixture.features.setAllChildrenEnabled(true, QuillaFeature::createFile);
    EXPECT_EQ(detail->toggleAllButton()->text(), QStringLiteral("全部关闭"));

    detail->toggleAllButton()->click();
    for (const auto& child : children) {
        EXPECT_FALSE(fixture.features.isChildEnabled(child.actionID)) << child.actionID;
    }
    EXPECT_EQ(detail->toggleAllButton()->text(), QStringLiteral("全部开启"));
    EXPECT_TRUE(detail->childRows().front()->isDimmed());

    // One child on, the rest off: still "全部开启", and pressing it enables all.
    detail->childRows().front()->switchButton()->click();
    EXPECT_TRUE(fixture.features.isChildEnabled(detail->childRows().front()->actionID()));
    EXPECT_EQ(detail->toggleAllButton()->text(), QStringLiteral("全部开启"));
    detail->toggleAllButton()->click();
    EXPECT_EQ(detail->toggleAllButton()->text(), QStringLiteral("全部关闭"));
    EXPECT_EQ(test::SettingsFixture::readFeatureFile(
                  "all(c in d['enabledChildIDs'] for c in d['childOrderByFeatureID']"
                  "['createFile'])"),
              "True");
}

TEST_F(FeatureDetailViewTest, TheMainSwitchLeavesTheChildSwitchesAlone) {
    FeatureDetailView* detail = page(QuillaFeature::copyPath);
    std::vector<bool> before;
    for (FeatureChildRow* row : detail->childRows()) {
        before.push_back(row->isChecked());
    }
    detail->enabledRow()->switchButton()->click();
    EXPECT_FALSE(fixture.features.isEnabled(QuillaFeature::copyPath));
    for (std::size_t i = 0; i < before.size(); ++i) {
        EXPECT_EQ(detail->childRows()[i]->isChecked(), before[i]);
    }
}

TEST_F(FeatureDetailViewTest, DroppingAChildReordersTheFilesChildOrder) {
    FeatureDetailView* detail = page(QuillaFeature::createFile);
    const auto before = fixture.features.orderedChildren(QuillaFeature::createFile);
    dropRow(*detail->childList(), static_cast<int>(before.size()) - 1, 0);
    EXPECT_EQ(detail->childRows().front()->actionID(), before.back().actionID);
    EXPECT_EQ(test::SettingsFixture::readFeatureFile("d['childOrderByFeatureID']['createFile'][0]"),
              before.back().actionID);
    EXPECT_EQ(detail->childRows().front()->dragHandle()->toolTip(), QStringLiteral("拖拽调整顺序"));
}

TEST_F(FeatureDetailViewTest, EveryFeaturePageBuildsWithItsChildren) {
    for (const QuillaFeature feature : allQuillaFeatures()) {
        FeatureDetailView* detail = page(feature);
        ASSERT_NE(detail, nullptr);
        EXPECT_EQ(detail->childRows().size(), quilla::children(feature).size()) << rawValue(feature);
        EXPECT_EQ(detail->toggleAllButton() != nullptr, !quilla::children(feature).empty())
            << rawValue(feature);
    }
}

} // namespace
