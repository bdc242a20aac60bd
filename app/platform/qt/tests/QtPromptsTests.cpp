#include "app/core/platform/PromptUnavailable.h"
#include "app/platform/qt/QtMainThreadDispatcher.h"
#include "app/platform/qt/QtPrompts.h"
#include "app/platform/qt/tests/QtTestSupport.h"
#include "shared/QuillaPaths.h"
#include "tests/support/TempDir.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include <atomic>
#include <future>

using namespace quilla;

namespace {

// What the answering side saw of the dialog it answered.
struct SeenDialog {
    QString windowTitle;
    QStringList labels;
    QStringList buttons;
    std::vector<QSize> fieldSizes;
    QStringList placeholders;
    QSize stackSize;
    bool onMainThread = false;
    QString acceptLabel;
};

// Answers the next modal dialog from inside its own event loop, as a user would.
class DialogAnswerer final {
public:
    explicit DialogAnswerer(std::function<void(QWidget*)> answer) : answer_(std::move(answer)) {
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            QWidget* dialog = QApplication::activeModalWidget();
            if (!dialog || !dialog->isVisible()) {
                return;
            }
            timer_.stop();
            seen.windowTitle = dialog->windowTitle();
            seen.onMainThread = dialog->thread() == QCoreApplication::instance()->thread() &&
                                QThread::currentThread() == QCoreApplication::instance()->thread();
            for (auto* label : dialog->findChildren<QLabel*>())
                seen.labels << label->text();
            for (auto* button : dialog->findChildren<QDialogButtonBox*>()) {
                for (auto* b : button->buttons())
                    seen.buttons << b->text();
            }
            for (auto* field : dialog->findChildren<QLineEdit*>()) {
                if (field->objectName().startsWith(QStringLiteral("quillaPrompt"))) {
                    seen.fieldSizes.push_back(field->size());
                    seen.placeholders << field->placeholderText();
                    seen.stackSize = field->parentWidget()->size();
                }
            }
            if (auto* files = qobject_cast<QFileDialog*>(dialog)) {
                seen.acceptLabel = files->labelText(QFileDialog::Accept);
            }
            answer_(dialog);
        });
        timer_.start();
    }

    SeenDialog seen;

private:
    std::function<void(QWidget*)> answer_;
    QTimer timer_;
};

QPushButton* button(QWidget* dialog, const QString& text) {
    for (auto* b : dialog->findChildren<QPushButton*>()) {
        if (b->text() == text)
            return b;
    }
    return nullptr;
}

void typeAndPress(QWidget* dialog, const QStringList& texts, const QString& buttonText) {
    const auto fields = dialog->findChildren<QLineEdit*>();
    for (qsizetype i = 0; i < texts.size() && i < fields.size(); ++i)
        fields[i]->setText(texts[i]);
    QPushButton* b = button(dialog, buttonText);
    ASSERT_NE(b, nullptr) << buttonText.toStdString();
    b->click();
}

// Runs `call` on a worker thread (like the queue runner) while the main thread keeps its loop going.
template <typename T> T askFromWorker(std::function<T()> call) {
    auto result = std::async(std::launch::async, std::move(call));
    EXPECT_TRUE(test::spinUntil(
        [&] { return result.wait_for(std::chrono::seconds(0)) == std::future_status::ready; }));
    return result.get();
}

class QtPromptsTest : public ::testing::Test {
protected:
    void SetUp() override { test::ensureQtApplication(); }
    QtMainThreadDispatcher dispatcher;
    QtPrompts prompts{dispatcher, true};
};

} // namespace

TEST_F(QtPromptsTest, TextPromptFromAnotherThreadIsAnsweredOnTheMainThreadUntrimmed) {
    DialogAnswerer answerer(
        [](QWidget* d) { typeAndPress(d, {QStringLiteral("  ~/桌面/my file  ")}, QStringLiteral("确定")); });
    const auto answer = askFromWorker<std::optional<std::string>>(
        [&] { return prompts.promptText("打开指定路径", "输入要打开的文件或文件夹路径。"); });
    ASSERT_TRUE(answer.has_value());
    EXPECT_EQ(*answer, "  ~/桌面/my file  ");
    const SeenDialog& seen = answerer.seen;
    EXPECT_TRUE(seen.onMainThread);
    EXPECT_TRUE(seen.labels.contains(QStringLiteral("打开指定路径")));
    EXPECT_TRUE(seen.labels.contains(QStringLiteral("输入要打开的文件或文件夹路径。")));
    EXPECT_EQ(seen.buttons, (QStringList{QStringLiteral("确定"), QStringLiteral("取消")}));
    ASSERT_EQ(seen.fieldSizes.size(), 1u);
    EXPECT_EQ(seen.fieldSizes[0], QSize(320, 24));
}

TEST_F(QtPromptsTest, CancelAnswersNothingInBothTextPrompts) {
    {
        DialogAnswerer answerer(
            [](QWidget* d) { typeAndPress(d, {QStringLiteral("typed")}, QStringLiteral("取消")); });
        EXPECT_FALSE(askFromWorker<std::optional<std::string>>([&] { return prompts.promptText("t", "m"); }));
    }
    {
        DialogAnswerer answerer([](QWidget* d) {
            typeAndPress(d, {QStringLiteral("a"), QStringLiteral("b")}, QStringLiteral("取消"));
        });
        EXPECT_FALSE((askFromWorker<std::optional<std::pair<std::string, std::string>>>(
            [&] { return prompts.promptTwoTexts("查找并替换", "查找", "替换为"); })));
    }
}

TEST_F(QtPromptsTest, TwoTextPromptStacksPlaceholderFieldsInItsFixedView) {
    DialogAnswerer answerer([](QWidget* d) {
        typeAndPress(d, {QStringLiteral("old"), QString()}, QStringLiteral("确定"));
    });
    const auto answer = askFromWorker<std::optional<std::pair<std::string, std::string>>>(
        [&] { return prompts.promptTwoTexts("查找并替换", "查找", "替换为", ""); });
    ASSERT_TRUE(answer.has_value());
    EXPECT_EQ(answer->first, "old");
    EXPECT_EQ(answer->second, "");
    EXPECT_EQ(answerer.seen.placeholders, (QStringList{QStringLiteral("查找"), QStringLiteral("替换为")}));
    EXPECT_EQ(answerer.seen.stackSize, QSize(360, 62));
    EXPECT_EQ(answerer.seen.fieldSizes[1].height() + answerer.seen.fieldSizes[0].height() + 8, 62);
}

TEST_F(QtPromptsTest, FolderChooserCarriesTitleAndConfirmTextAndReturnsTheFolder) {
    test::TempDir dir;
    const auto chosen = dir.path() / "目标";
    std::filesystem::create_directories(chosen);
    DialogAnswerer answerer([&](QWidget* d) {
        auto* files = qobject_cast<QFileDialog*>(d);
        ASSERT_NE(files, nullptr);
        test::pickInFileDialog(files, chosen);
    });
    const auto answer = askFromWorker<std::optional<std::filesystem::path>>(
        [&] { return prompts.chooseDirectory("选择复制目标文件夹", "复制到这里", dir.path()); });
    ASSERT_TRUE(answer.has_value());
    EXPECT_EQ(*answer, chosen);
    EXPECT_EQ(answerer.seen.windowTitle, QStringLiteral("选择复制目标文件夹"));
    EXPECT_EQ(answerer.seen.acceptLabel, QStringLiteral("复制到这里"));
}

TEST_F(QtPromptsTest, WithoutDialogsEveryPromptFailsAndTheLogSaysSo) {
    // Answering "cancel" here would let a numbered rename run on its default name, unasked.
    QtPrompts windowless(dispatcher, false);
    EXPECT_THROW(windowless.promptText("打开指定路径", "m"), PromptUnavailable);
    EXPECT_THROW(windowless.promptTwoTexts("查找并替换", "a", "b"), PromptUnavailable);
    EXPECT_THROW(windowless.chooseDirectory("选择移动目标文件夹", "移动到这里"), PromptUnavailable);
    const std::string log = test::readText(paths::appActionLogPath());
    EXPECT_NE(log.find("prompt unavailable, started without dialogs: 打开指定路径"), std::string::npos);
    EXPECT_NE(log.find("started without dialogs: 选择移动目标文件夹"), std::string::npos);
    try {
        windowless.promptText("序号重命名", "m");
    } catch (const PromptUnavailable& error) {
        EXPECT_STREQ(error.what(), "无法显示“序号重命名”对话框，操作没有执行，文件未做任何更改。");
    }
}

TEST_F(QtPromptsTest, ShutDownReleasesAWaitingCallerAndTheWorkNeverRuns) {
    std::atomic<bool> ran = false;
    auto waiting = std::async(std::launch::async, [&] { return dispatcher.runAndWait([&] { ran = true; }); });
    // The main loop is not turning, so the call stays queued until the shut-down releases it.
    EXPECT_EQ(waiting.wait_for(std::chrono::milliseconds(100)), std::future_status::timeout);
    dispatcher.shutDown();
    EXPECT_FALSE(waiting.get());
    QCoreApplication::processEvents();
    EXPECT_FALSE(ran);
    // A prompt asked while quitting fails at once instead of waiting for a dead loop.
    auto late = std::async(std::launch::async, [&] { return prompts.promptText("退出时", "m"); });
    EXPECT_THROW(late.get(), PromptUnavailable);
    EXPECT_NE(test::readText(paths::appActionLogPath()).find("application is quitting: 退出时"),
              std::string::npos);
}
