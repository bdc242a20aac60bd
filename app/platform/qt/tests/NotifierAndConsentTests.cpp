#include "app/platform/qt/FreedesktopNotifier.h"
#include "app/platform/qt/QtActionConsentPrompt.h"
#include "app/platform/qt/tests/FakeNotificationServer.h"
#include "app/platform/qt/tests/QtTestSupport.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace quilla;
using Answer = ActionConsentPrompt::Answer;

TEST(FreedesktopNotifier, PostsFromQuillaWithItsIconAndLogsWhenNoServerAnswers) {
    test::ensureQtApplication();
    if (!QDBusConnection::sessionBus().isConnected()) {
        GTEST_SKIP() << "no session bus (run under dbus-run-session)";
    }
    std::vector<std::string> logLines;
    FreedesktopNotifier notifier([&](std::string_view line) { logLines.emplace_back(line); });
    {
        test::FakeNotificationServer server;
        ASSERT_TRUE(server.registered());
        notifier.post("Quilla 操作失败", "请先在 Finder 中选择文件。");
        ASSERT_TRUE(test::spinUntil([&] { return !server.received.empty(); }));
        const auto& got = server.received.front();
        EXPECT_EQ(got.appName, QStringLiteral("Quilla"));
        EXPECT_EQ(got.icon, QStringLiteral("app.kelvarin.Quilla"));
        EXPECT_EQ(got.summary, QStringLiteral("Quilla 操作失败"));
        EXPECT_EQ(got.body, QStringLiteral("请先在 Finder 中选择文件。"));
        EXPECT_EQ(got.hints.value(QStringLiteral("desktop-entry")).toString(),
                  QStringLiteral("app.kelvarin.Quilla"));
    }
    EXPECT_TRUE(logLines.empty());

    notifier.post("Quilla 操作失败", "没有服务器");
    ASSERT_TRUE(test::spinUntil([&] { return !logLines.empty(); }));
    EXPECT_TRUE(logLines[0].starts_with("notification not shown: ")) << logLines[0];
    EXPECT_NE(logLines[0].find("text=没有服务器"), std::string::npos) << logLines[0];

    FreedesktopNotifier unconnected([&](std::string_view line) { logLines.emplace_back(line); },
                                    QDBusConnection(QStringLiteral("never-connected")));
    unconnected.post("Quilla 操作失败", "x");
    EXPECT_EQ(logLines.back(), "notification not shown, no session bus: Quilla 操作失败: x");
}

TEST(QtActionConsentPrompt, OnlyTheRunButtonAllowsAndCancelIsTheDefault) {
    test::ensureQtApplication();
    const ActionConsentQuestion question{"另一个程序请求 Quilla 执行“移动到桌面”。是否继续？", {"/a", "/b"}};
    struct Case {
        const char* name;
        std::function<void(QWidget*)> answer;
        Answer expected;
    };
    const auto click = [](const char* button) {
        return [button](QWidget* box) { box->findChild<QPushButton*>(QString::fromLatin1(button))->click(); };
    };
    const auto key = [](int code) {
        return [code](QWidget* box) {
            QKeyEvent press(QEvent::KeyPress, code, Qt::NoModifier);
            QApplication::sendEvent(box, &press);
        };
    };
    const Case cases[] = {
        {"run", click(QtActionConsentPrompt::runButtonName), Answer::allowed},
        {"cancel", click(QtActionConsentPrompt::cancelButtonName), Answer::refused},
        {"enter takes the default", key(Qt::Key_Return), Answer::refused},
        {"escape", key(Qt::Key_Escape), Answer::refused},
    };
    for (const auto& c : cases) {
        QString text;
        QString informative;
        test::ModalAnswerer answerer([&](QWidget* window) {
            auto* box = qobject_cast<QMessageBox*>(window);
            ASSERT_NE(box, nullptr);
            text = box->text();
            informative = box->informativeText();
            c.answer(window);
        });
        QtActionConsentPrompt prompt(true);
        EXPECT_EQ(prompt.confirm(question), c.expected) << c.name;
        EXPECT_EQ(text.toStdString(), question.message) << c.name;
        EXPECT_EQ(informative, QStringLiteral("/a\n/b")) << c.name;
    }
    EXPECT_EQ(QtActionConsentPrompt(false).confirm(question), Answer::unavailable);
}
