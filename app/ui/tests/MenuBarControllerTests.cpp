#include "app/core/FeatureSettingsStore.h"
#include "app/core/executor/FinderActionExecutionError.h"
#include "app/core/menubar/MenuBarActions.h"
#include "app/core/tests/fakes/FailureText.h"
#include "app/core/tests/fakes/FakePlatform.h"
#include "app/platform/qt/tests/QtTestSupport.h"
#include "app/ui/MenuBarController.h"
#include "tests/support/TestEnv.h"

#include <QAbstractButton>
#include <QAction>
#include <QCoreApplication>
#include <QKeySequence>
#include <QMenu>
#include <QMessageBox>

#include <gtest/gtest.h>

using namespace quilla;

namespace {

QStringList titles(const QMenu& menu) {
    QStringList result;
    for (const QAction* action : menu.actions()) {
        result << (action->isSeparator() ? QStringLiteral("-") : action->text());
    }
    return result;
}

const QAction* actionTitled(const QMenu& menu, const QString& title) {
    for (const QAction* action : menu.actions()) {
        if (action->text() == title) {
            return action;
        }
    }
    return nullptr;
}

class MenuBarControllerTest : public ::testing::Test {
protected:
    MenuBarControllerTest() { test::ensureQtApplication(); }

    test::ScopedHome home;
    RecordingSettingsChangeNotifier notifier;
    test::FakeFinderScripting finder;
    std::vector<ActionRequest> performed;
    std::vector<std::string> logLines;
    int toggles = 0;
    int shows = 0;
    MenuBarActions actions{[this](const ActionRequest& request) -> ActionResult {
                               performed.push_back(request);
                               if (request.actionID == "quickOpenClipboardPath") {
                                   throw FinderActionExecutionError::noClipboardPath();
                               }
                               return {};
                           },
                           finder};
    MenuBarController controller{actions, notifier,
                                 MenuBarController::Hooks{
                                     .toggleMainWindow = [this] { ++toggles; },
                                     .showMainWindow = [this] { ++shows; },
                                     .checkForUpdates = [] {},
                                     .log = [this](std::string_view line) { logLines.emplace_back(line); },
                                 }};

    static void setCustomActionsEnabled(bool enabled) {
        RecordingSettingsChangeNotifier quiet;
        const FeatureSettingsPersistence persistence(quiet);
        FeatureSettingsStore store(persistence);
        store.setEnabled(enabled, QuillaFeature::customActions);
    }
};

} // namespace

TEST_F(MenuBarControllerTest, TheMenuIsBuiltFromTheSettingsEachTimeItOpens) {
    setCustomActionsEnabled(true);
    const bool trayHost = controller.install();
    ASSERT_NE(controller.menu(), nullptr);
    ASSERT_NE(controller.statusItem(), nullptr);
    EXPECT_EQ(controller.statusItem()->toolTip(), QStringLiteral("Quilla"));
    EXPECT_FALSE(controller.statusItem()->icon().isNull());
    // Without a tray host (offscreen) the application runs on; this is logged once.
    EXPECT_EQ(logLines.size(), trayHost ? 0u : 1u);

    QMenu& menu = *controller.menu();
    ASSERT_EQ(titles(menu).size(), 7);
    EXPECT_EQ(titles(menu)[2], QStringLiteral("自定义动作"));
    const QAction* custom = actionTitled(menu, QStringLiteral("自定义动作"));
    ASSERT_NE(custom, nullptr);
    ASSERT_NE(custom->menu(), nullptr);
    ASSERT_EQ(custom->menu()->actions().size(), 1);
    EXPECT_EQ(custom->menu()->actions()[0]->text(), QStringLiteral("还没有自定义动作"));
    EXPECT_FALSE(custom->menu()->actions()[0]->isEnabled());
    const QAction* quit = actionTitled(menu, QStringLiteral("退出 Quilla"));
    ASSERT_NE(quit, nullptr);
    EXPECT_EQ(quit->shortcut(), QKeySequence(QKeySequence::Quit));

    // A change made elsewhere shows the next time the menu opens, without stale submenus.
    setCustomActionsEnabled(false);
    Q_EMIT menu.aboutToShow();
    EXPECT_EQ(titles(menu).size(), 6);
    EXPECT_EQ(actionTitled(menu, QStringLiteral("自定义动作")), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); // as the main loop would
    EXPECT_EQ(menu.findChildren<QMenu*>(QString(), Qt::FindDirectChildrenOnly).size(), 1);
    EXPECT_EQ(logLines.size(), trayHost ? 0u : 1u);
}

TEST_F(MenuBarControllerTest, AFailedActionShowsTheAlertAndWindowCommandsReachTheHooks) {
    QString message;
    QString informative;
    QStringList buttons;
    {
        test::ModalAnswerer answerer([&](QWidget* window) {
            auto* box = qobject_cast<QMessageBox*>(window);
            ASSERT_NE(box, nullptr);
            message = box->text();
            informative = box->informativeText();
            for (QAbstractButton* button : box->buttons()) {
                buttons << button->text();
            }
            box->buttons().front()->click();
        });
        controller.perform({.command = MenuBarCommand::performQuickOpenAction,
                            .representedValue = "quickOpenClipboardPath"});
        EXPECT_TRUE(answerer.answered());
    }
    ASSERT_EQ(performed.size(), 1u);
    EXPECT_EQ(message, QStringLiteral("Quilla 操作失败"));
    EXPECT_EQ(informative.toStdString(),
              test::failureOf([] { throw FinderActionExecutionError::noClipboardPath(); }));
    EXPECT_EQ(buttons, QStringList{QStringLiteral("确定")});

    // A success shows nothing; an item without its value does nothing.
    controller.perform(
        {.command = MenuBarCommand::performQuickOpenAction, .representedValue = "quickOpenTypedPath"});
    controller.perform({.command = MenuBarCommand::performCustomAction});
    EXPECT_EQ(performed.size(), 2u);

    // "打开 Quilla" first closes what was left open, then asks for the window.
    QMessageBox stray(QMessageBox::Information, QStringLiteral("Quilla"), QStringLiteral("left open"));
    stray.show();
    controller.perform({.command = MenuBarCommand::resetAndOpenMainWindow});
    EXPECT_FALSE(stray.isVisible());
    EXPECT_EQ(shows, 1);
    EXPECT_EQ(toggles, 0);
}
