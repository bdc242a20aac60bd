#include "app/platform/qt/tests/QtTestSupport.h"
#include "app/settings/components/SettingsMetrics.h"
#include "app/settings/lists/CustomDestinationRow.h"
#include "app/settings/lists/CustomShortcutActionRow.h"
#include "app/settings/lists/ElidedLabel.h"
#include "app/settings/lists/FinderViewPresetRow.h"
#include "app/settings/lists/ScheduledDeletionRow.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QStyleFactory>

#include <gtest/gtest.h>

#include <memory>

using namespace quilla;

namespace {

// What a row may need at least: the detail column of the settings window at its usual width
// (860 wide, sidebar 270 and its line, page margins, a scroll bar), so no row ever makes the page
// wider than the window.
constexpr int kDetailColumnWidth = 860 - 270 - 1 - 2 * settings_metrics::pageMargin - 14;

const std::string kLongPath = "/home/someone/" + std::string(20, 'x') +
                              "/Projects/2026/第四季度/客户资料/合同与报价/"
                              "已签署的版本/最终版（请勿修改）/扫描件/Q4-contract-final-signed-scan.pdf";

} // namespace

TEST(ListRowsTest, LongPathsAndNamesNeverMakeARowWiderThanThePage) {
    test::ensureQtApplication();
    std::vector<std::unique_ptr<QWidget>> rows;
    rows.emplace_back(new CustomDestinationRow({"id", "第四季度客户资料与合同", kLongPath},
                                               CustomDestinationKind::copy, {}, [] {}));
    rows.emplace_back(new CustomShortcutActionRow(
        {"id", "一个很长很长的右键菜单名称", CustomShortcutAction::Kind::script, "", kLongPath}, {},
        [](const CustomShortcutAction&, const std::string&) {}, [](const CustomShortcutAction&) {}));
    rows.emplace_back(new FinderViewPresetRow(
        {"id", "按修改日期排列的列表视图方案", FinderViewMode::gallery, FinderSortMode::modificationDate}, {},
        [](const FinderViewPreset&) {}, [](const FinderViewPreset&) {}));
    rows.emplace_back(
        new ScheduledDeletionRow({"id", kLongPath, {}, std::chrono::system_clock::now()}, {}, [] {}));
    for (const auto& row : rows) {
        EXPECT_LE(row->minimumSizeHint().width(), kDetailColumnWidth) << row->metaObject()->className();
    }
}

TEST(ListRowsTest, AnElidedPathKeepsItsEndsAndShowsTheWholePathOnHover) {
    test::ensureQtApplication();
    ElidedLabel label;
    label.setFullText(QString::fromStdString(kLongPath));
    label.resize(200, label.sizeHint().height());
    label.show();
    const QString shown = label.text();
    EXPECT_LT(label.fontMetrics().horizontalAdvance(shown), 200);
    EXPECT_TRUE(shown.startsWith(QStringLiteral("/home/"))) << shown.toStdString();
    EXPECT_TRUE(shown.endsWith(QStringLiteral(".pdf"))) << shown.toStdString();
    EXPECT_TRUE(shown.contains(QChar(0x2026)));
    EXPECT_EQ(label.toolTip().toStdString(), kLongPath);
    EXPECT_EQ(label.fullText().toStdString(), kLongPath);

    label.resize(label.sizeHint().width() + 10, label.height()); // room enough: shown whole
    EXPECT_EQ(label.text().toStdString(), kLongPath);
    label.setFullText(QStringLiteral("/tmp"));
    EXPECT_EQ(label.text(), QStringLiteral("/tmp"));
}
TEST(ListRowsTest, AShortcutNameLinesUpWithItsDetailInEveryStyle) {
    test::ensureQtApplication();
    const auto textStartAndDetail = [](CustomShortcutActionRow& row) {
        QLineEdit* field = row.nameField();
        field->setCursorPosition(0);
        // The cursor's rectangle is centred on the cursor, a few pixels wide.
        const QRect cursor = field->inputMethodQuery(Qt::ImCursorRectangle).toRect();
        return std::pair(field->x() + cursor.center().x(), row.detailLabel()->x());
    };
    for (const QString& style : QStyleFactory::keys()) {
        QApplication::setStyle(style);
        CustomShortcutActionRow row(
            {"id", "备份", CustomShortcutAction::Kind::shortcut, "备份", ""}, {},
            [](const CustomShortcutAction&, const std::string&) {}, [](const CustomShortcutAction&) {});
        row.show();
        const auto [text, detail] = textStartAndDetail(row);
        EXPECT_NEAR(text, detail, 2) << style.toStdString();
        QApplication::setStyle(QStringLiteral("Fusion")); // a style change while shown
        const auto [textAfter, detailAfter] = textStartAndDetail(row);
        EXPECT_NEAR(textAfter, detailAfter, 2) << style.toStdString();
    }
}
