#include "app/core/preferences/AppPreferencesPersistence.h"
#include "app/platform/qt/tests/QtTestSupport.h"
#include "app/settings/ContentView.h"
#include "app/settings/FeatureRequestSheet.h"
#include "app/settings/PreferencesDetailView.h"
#include "app/settings/SettingsAppearance.h"
#include "app/settings/SettingsWindow.h"
#include "app/settings/SettingsWindowController.h"
#include "app/settings/WindowPlacement.h"
#include "app/settings/components/SettingsRows.h"
#include "app/settings/tests/SettingsTestSupport.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace quilla;

namespace {

class SettingsWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::ensureQtApplication();
        controller.setScreenGeometry([this](const QWidget*) { return screen; });
    }
    void TearDown() override {
        // Timers of the placement may still be pending: let them find the window hidden.
        controller.hideWindow();
        QCoreApplication::processEvents();
    }

    test::SettingsFixture fixture;
    std::optional<QRect> screen = QRect(100, 30, 1920, 1050);
    SettingsWindowController controller{fixture.stores, fixture.platform()};
};

TEST(WindowPlacementTest, SizeToleranceIsOnePixelEachWay) {
    EXPECT_TRUE(WindowPlacement::hasRightSize({860, 560}));
    EXPECT_TRUE(WindowPlacement::hasRightSize({861, 559}));
    EXPECT_FALSE(WindowPlacement::hasRightSize({862, 560}));
    EXPECT_FALSE(WindowPlacement::hasRightSize({860, 558}));
}

TEST(WindowPlacementTest, TopRightTenInsideAndNeverPastTheLeftEdge) {
    EXPECT_EQ(WindowPlacement::topRight(QRect(0, 32, 1920, 1048), {860, 590}), QPoint(1920 - 860 - 10, 42));
    // A screen narrower than the window: the left edge wins.
    EXPECT_EQ(WindowPlacement::topRight(QRect(50, 0, 700, 500), {860, 590}), QPoint(60, 10));
}

TEST_F(SettingsWindowTest, ShowPlacesTheRightSizedWindowAtTheTopRightOfTheScreen) {
    EXPECT_FALSE(controller.isWindowVisible());
    EXPECT_EQ(controller.existingWindow(), nullptr);
    controller.showWindow();
    SettingsWindow* window = controller.existingWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(controller.isWindowVisible());
    EXPECT_EQ(window->objectName(), QStringLiteral("QuillaMainWindow"));
    EXPECT_EQ(window->size(), QSize(860, 560));
    // Placed again once the window system has framed it.
    test::spinUntil([] { return false; }, std::chrono::milliseconds(300));
    const QSize frame = window->frameGeometry().size();
    EXPECT_EQ(window->frameGeometry().topLeft(), QPoint(100 + 1920 - frame.width() - 10, 40));
}

TEST_F(SettingsWindowTest, AWrongSizeIsCorrectedAndANudgedOneKept) {
    controller.showWindow();
    SettingsWindow* window = controller.existingWindow();
    window->resize(861, 561);
    controller.position(*window);
    EXPECT_EQ(window->size(), QSize(861, 561));
    window->resize(600, 400);
    controller.position(*window);
    EXPECT_EQ(window->size(), QSize(860, 560));
}

TEST_F(SettingsWindowTest, WithoutAScreenOnlyTheSizeIsSet) {
    screen.reset();
    controller.showWindow();
    EXPECT_EQ(controller.existingWindow()->size(), QSize(860, 560));
    EXPECT_TRUE(controller.isWindowVisible());
}

TEST_F(SettingsWindowTest, ClosingHidesAndShowingAgainBringsBackTheSameWindowAndPage) {
    controller.showWindow();
    SettingsWindow* window = controller.existingWindow();
    window->contentView()->select(SettingsPage::preferences());
    window->close();
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(controller.isWindowVisible());

    controller.showWindow();
    EXPECT_EQ(controller.existingWindow(), window);
    EXPECT_EQ(window->contentView()->selectedPage(), SettingsPage::preferences());
    EXPECT_EQ(window->frameGeometry().top(), 40);
}

TEST_F(SettingsWindowTest, ToggleHidesTheActiveWindowAndBringsForwardOneBehindOthers) {
    controller.toggleWindow();
    EXPECT_TRUE(controller.isWindowVisible());
    ASSERT_TRUE(test::spinUntil([&] { return controller.existingWindow()->isActiveWindow(); }));
    controller.toggleWindow();
    EXPECT_FALSE(controller.isWindowVisible());

    controller.showWindow();
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(test::spinUntil([&] { return other.isActiveWindow(); }));
    controller.toggleWindow();
    EXPECT_TRUE(controller.isWindowVisible());
}

TEST_F(SettingsWindowTest, LaunchPresentationShowsForANormalStartAndHidesForALoginStart) {
    controller.applyLaunchPresentation(false);
    test::spinUntil([] { return false; }, std::chrono::milliseconds(600)); // all three steps
    EXPECT_FALSE(controller.isWindowVisible());

    controller.applyLaunchPresentation(true);
    EXPECT_TRUE(controller.isWindowVisible());
    controller.hideWindow();
    // The later steps show it again: the window system may have hidden it meanwhile.
    EXPECT_TRUE(test::spinUntil([&] { return controller.isWindowVisible(); }, std::chrono::seconds(2)));
}

TEST_F(SettingsWindowTest, ResetClosesStraySheetsAndHidesTheWindow) {
    controller.showWindow();
    auto* sheet = new FeatureRequestSheet([](const QString&) {}, controller.existingWindow());
    sheet->show();
    ASSERT_TRUE(sheet->isVisible());
    controller.resetTransientWindowState();
    EXPECT_FALSE(sheet->isVisible());
    EXPECT_FALSE(controller.isWindowVisible());
    EXPECT_NE(controller.existingWindow(), nullptr);
}

TEST_F(SettingsWindowTest, PreferencesSavedByAnotherProcessReachTheOpenPageAndDamageIsIgnored) {
    controller.showWindow();
    ContentView* content = controller.existingWindow()->contentView();
    content->select(SettingsPage::preferences());
    AppPreferences edited = fixture.preferences.preferences();
    edited.revealCreatedItems = !edited.revealCreatedItems;
    AppPreferencesPersistence::save(edited);
    EXPECT_TRUE(test::spinUntil([&] {
        return content->preferencesPage()->revealCreatedRow()->isChecked() == edited.revealCreatedItems;
    }));

    // A hand edit that leaves the file unreadable keeps what the window shows.
    std::filesystem::resize_file(AppPreferencesPersistence::fileURL(), 12);
    test::spinUntil([] { return false; }, std::chrono::milliseconds(300));
    EXPECT_EQ(fixture.preferences.revealCreatedItems(), edited.revealCreatedItems);
    EXPECT_EQ(content->preferencesPage()->revealCreatedRow()->isChecked(), edited.revealCreatedItems);
}

TEST(SettingsAppearanceTest, AdwaitaOnGnomeWhereInstalledElseFusion) {
    const QStringList withAdwaita{QStringLiteral("Fusion"), QStringLiteral("Adwaita"),
                                  QStringLiteral("Adwaita-Dark")};
    EXPECT_EQ(SettingsAppearance::styleName(QStringLiteral("ubuntu:GNOME"), withAdwaita, false),
              QStringLiteral("Adwaita"));
    EXPECT_EQ(SettingsAppearance::styleName(QStringLiteral("GNOME"), withAdwaita, true),
              QStringLiteral("Adwaita-Dark"));
    EXPECT_EQ(SettingsAppearance::styleName(QStringLiteral("KDE"), withAdwaita, false),
              QStringLiteral("Fusion"));
    EXPECT_EQ(SettingsAppearance::styleName(QStringLiteral("GNOME"), {QStringLiteral("Fusion")}, true),
              QStringLiteral("Fusion"));
}

} // namespace
