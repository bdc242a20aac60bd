#include "app/platform/qt/QtPasteboard.h"

#include "app/platform/qt/QtMainThreadDispatcher.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QUrl>

namespace quilla {
namespace {

QClipboard* clipboard() {
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) ? QGuiApplication::clipboard()
                                                                        : nullptr;
}

} // namespace

QtPasteboard::QtPasteboard(QtMainThreadDispatcher& dispatcher) : dispatcher_(dispatcher) {}

bool QtPasteboard::writeText(const std::string& text) {
    bool written = false;
    dispatcher_.runAndWait([&] {
        if (QClipboard* board = clipboard()) {
            // setText replaces every format the clipboard held, which is the "clear, then put" rule.
            board->setText(QString::fromStdString(text), QClipboard::Clipboard);
            written = board->text(QClipboard::Clipboard) == QString::fromStdString(text);
        }
    });
    return written;
}

std::optional<std::string> QtPasteboard::readText() {
    std::optional<std::string> text;
    dispatcher_.runAndWait([&] {
        const QClipboard* board = clipboard();
        const QMimeData* data = board ? board->mimeData(QClipboard::Clipboard) : nullptr;
        if (data && data->hasText()) {
            text = data->text().toStdString();
        }
    });
    return text;
}

std::vector<std::string> QtPasteboard::readFilePaths() {
    std::vector<std::string> paths;
    dispatcher_.runAndWait([&] {
        const QClipboard* board = clipboard();
        const QMimeData* data = board ? board->mimeData(QClipboard::Clipboard) : nullptr;
        if (!data || !data->hasUrls()) {
            return;
        }
        for (const QUrl& url : data->urls()) {
            if (url.isLocalFile()) {
                paths.push_back(url.toLocalFile().toStdString());
            }
        }
    });
    return paths;
}

} // namespace quilla
