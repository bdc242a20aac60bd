#include "app/core/deletion/ScheduledDeletionListStore.h"
#include "app/platform/qt/tests/QtTestSupport.h"
#include "app/settings/components/SettingsSection.h"
#include "app/settings/lists/ElidedLabel.h"
#include "app/settings/lists/ScheduledDeletionRow.h"
#include "app/settings/lists/ScheduledDeletionSection.h"
#include "app/settings/lists/tests/ListEditorsTestSupport.h"
#include "tests/support/TempDir.h"

#include <QCoreApplication>
#include <QLabel>
#include <QLayout>
#include <QLocale>
#include <QPushButton>

#include <gtest/gtest.h>

#include <mutex>

using namespace quilla;
namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

class ScheduledDeletionSectionTest : public ::testing::Test {
protected:
    void SetUp() override { test::ensureQtApplication(); }

    test::TempDir dir;
    std::vector<std::string> logLines;
    ScheduledDeletionStore store{{dir / "config/ScheduledDeletions.plist",
                                  [] { return std::chrono::system_clock::now(); },
                                  [this](std::string_view line) { logLines.emplace_back(line); }}};
    ScheduledDeletionListStore list{store};

    // The rows the section's panel holds now, top to bottom.
    static std::vector<ScheduledDeletionRow*> rows(ScheduledDeletionSection& section) {
        std::vector<ScheduledDeletionRow*> result;
        QLayout* layout = section.section()->panel()->rowLayout();
        for (int i = 0; i < layout->count(); ++i) {
            if (auto* row = dynamic_cast<ScheduledDeletionRow*>(layout->itemAt(i)->widget())) {
                result.push_back(row);
            }
        }
        return result;
    }
    static bool showsEmptyRow(ScheduledDeletionSection& section) {
        QCoreApplication::processEvents(); // rows added to a shown panel appear on the next turn
        return rows(section).empty() && test::showsText(&section, "暂无定时清理项目");
    }
    static QString fileName(ScheduledDeletionRow* row) { return row->nameLabel()->text(); }
};

} // namespace

TEST_F(ScheduledDeletionSectionTest, RowsComeInDueOrderAndCancelRemovesFromTheFile) {
    const auto later = dir.write("files/later.txt", "x");
    const auto sooner = dir.write("files/sooner.txt", "x");
    store.schedule({later}, 7 * 24h);
    store.schedule({sooner}, 1h);
    ScheduledDeletionSection section(list, {});
    section.resize(600, 300);
    section.show();
    auto shown = rows(section);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(fileName(shown[0]), "sooner.txt");
    EXPECT_EQ(fileName(shown[1]), "later.txt");
    EXPECT_EQ(shown[0]->nameLabel()->font().weight(), QFont::Medium);
    const auto& first = list.items().front();
    EXPECT_EQ(shown[0]->detailLabel()->fullText().toStdString(),
              ScheduledDeletionRow::dueText(first.deleteAt, ScheduledDeletionRow::dateLocale()) + " · " +
                  sooner.string());
    EXPECT_EQ(shown[0]->cancelButton()->text(), "取消");

    shown[0]->cancelButton()->click();
    ASSERT_EQ(store.loadItems().size(), 1u);
    EXPECT_EQ(store.loadItems()[0].path, later.string());
    ASSERT_TRUE(test::spinUntil([&] { return rows(section).size() == 1u; }));
    rows(section)[0]->cancelButton()->click();
    EXPECT_TRUE(store.loadItems().empty());
    EXPECT_TRUE(showsEmptyRow(section));
}

TEST_F(ScheduledDeletionSectionTest, AFailedCancelKeepsTheRowAndIsLogged) {
    const auto file = dir.write("files/keep.txt", "x");
    store.schedule({file}, 1h);
    ScheduledDeletionSection section(list, {});
    section.show();
    // The lock beside the file cannot be opened, so the write cannot happen (even for root).
    fs::remove(dir / "config/ScheduledDeletions.plist.lock");
    fs::create_directories(dir / "config/ScheduledDeletions.plist.lock");
    rows(section).at(0)->cancelButton()->click();
    EXPECT_EQ(store.loadItems().size(), 1u);
    ASSERT_EQ(rows(section).size(), 1u);
    EXPECT_EQ(fileName(rows(section)[0]), "keep.txt");
    ASSERT_FALSE(logLines.empty());
    EXPECT_EQ(logLines.back().rfind("scheduled deletion cancel failed: ", 0), 0u) << logLines.back();
}

TEST_F(ScheduledDeletionSectionTest, WhileShownItFollowsTheFileAndEachShowingRereadsIt) {
    ScheduledDeletionSection section(list, {});
    section.show();
    EXPECT_TRUE(showsEmptyRow(section));

    // Another process (here: a second store on the same file that announces nothing to this list).
    ScheduledDeletionStore other{
        {store.file(), [] { return std::chrono::system_clock::now(); }, [](std::string_view) {}}};
    const auto file = dir.write("files/from-menu.txt", "x");
    auto items = other.loadItems();
    items.push_back(
        {"ID-1", file.string(), std::chrono::system_clock::now(), std::chrono::system_clock::now() + 1h});
    other.saveItems(items); // no announcement: only the file changed
    EXPECT_TRUE(test::spinUntil([&] { return rows(section).size() == 1u; }));

    section.hide();
    other.saveItems({});
    QCoreApplication::processEvents();
    section.show(); // shown again: read afresh
    EXPECT_TRUE(showsEmptyRow(section));
}

TEST(ScheduledDeletionRowTest, TheDueTimeIsAnAbbreviatedDateAndAShortTimeInTheLocale) {
    // 2026-12-08 14:30:00 UTC
    const auto when = std::chrono::system_clock::time_point(std::chrono::seconds(1796740200));
    const std::pair<std::string, std::string> cases[] = {
        {"zh_CN", "2026年12月8日 14:30"},
        {"de_DE", "08.12.2026, 14:30"},
    };
    for (const auto& [locale, expected] : cases) {
        EXPECT_EQ(ScheduledDeletionRow::dueText(when, locale, "UTC"), expected) << locale;
    }
    const auto english = ScheduledDeletionRow::dueText(when, "en_US", "UTC");
    EXPECT_EQ(english.rfind("Dec 8, 2026", 0), 0u) << english;
    EXPECT_NE(english.find("2:30"), std::string::npos) << english;
    EXPECT_EQ(ScheduledDeletionRow::dueText(when, "zh_CN", "Asia/Shanghai"), "2026年12月8日 22:30");
}
