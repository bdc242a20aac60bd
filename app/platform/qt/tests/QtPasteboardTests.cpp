#include "app/platform/qt/NoDisplayPasteboard.h"
#include "app/platform/qt/QtMainThreadDispatcher.h"
#include "app/platform/qt/QtPasteboard.h"
#include "app/platform/qt/tests/QtTestSupport.h"
#include "shared/QuillaPaths.h"
#include "tests/support/TempDir.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QUrl>

#include <gtest/gtest.h>

#include <future>

using namespace quilla;

namespace {

template <typename T> T fromWorker(std::function<T()> call) {
    auto result = std::async(std::launch::async, std::move(call));
    EXPECT_TRUE(test::spinUntil(
        [&] { return result.wait_for(std::chrono::seconds(0)) == std::future_status::ready; }));
    return result.get();
}

} // namespace

TEST(QtPasteboard, TextWrittenFromTheRunnerThreadReplacesTheClipboard) {
    test::ensureQtApplication();
    QtMainThreadDispatcher dispatcher;
    QtPasteboard pasteboard(dispatcher);
    auto* mime = new QMimeData;
    mime->setUrls({QUrl::fromLocalFile(QStringLiteral("/tmp/old"))});
    QGuiApplication::clipboard()->setMimeData(mime);

    EXPECT_TRUE(fromWorker<bool>([&] { return pasteboard.writeText("/a/one\n/b/两"); }));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("/a/one\n/b/两"));
    EXPECT_EQ(fromWorker<std::optional<std::string>>([&] { return pasteboard.readText(); }), "/a/one\n/b/两");
    // The old file URLs went with the old content.
    EXPECT_TRUE(pasteboard.readFilePaths().empty());
}

TEST(QtPasteboard, FilePathsComeFromLocalURLsOnlyInOrder) {
    test::ensureQtApplication();
    QtMainThreadDispatcher dispatcher;
    QtPasteboard pasteboard(dispatcher);
    auto* mime = new QMimeData;
    mime->setUrls({QUrl::fromLocalFile(QStringLiteral("/tmp/b c")),
                   QUrl(QStringLiteral("https://example.org/x")),
                   QUrl::fromLocalFile(QStringLiteral("/tmp/桌面"))});
    QGuiApplication::clipboard()->setMimeData(mime);
    EXPECT_EQ(fromWorker<std::vector<std::string>>([&] { return pasteboard.readFilePaths(); }),
              (std::vector<std::string>{"/tmp/b c", "/tmp/桌面"}));
}

TEST(NoDisplayPasteboard, WritingFailsAndIsLogged) {
    NoDisplayPasteboard pasteboard;
    EXPECT_FALSE(pasteboard.writeText("x"));
    EXPECT_FALSE(pasteboard.readText());
    EXPECT_TRUE(pasteboard.readFilePaths().empty());
    EXPECT_NE(test::readText(paths::appActionLogPath()).find("clipboard unavailable: no display"),
              std::string::npos);
}
