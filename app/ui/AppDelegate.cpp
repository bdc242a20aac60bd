#include "app/ui/AppDelegate.h"

#include <algorithm>

namespace quilla {

AppDelegate::AppDelegate(Hooks hooks, QDBusConnection bus, QString notificationInterface)
    : hooks_(std::move(hooks)), bus_(std::move(bus)),
      notificationInterface_(std::move(notificationInterface)) {}

AppDelegate::~AppDelegate() {
    applicationWillTerminate();
}

bool AppDelegate::applicationDidFinishLaunching() {
    shouldShowWindowAfterLaunch_ = !hooks_.wasLikelyLaunchedAtLogin();
    hooks_.log("app launched");
    hooks_.drain();
    if (bus_.isConnected()) {
        // Any sender: the extension posts from the file manager's process.
        observing_ = bus_.connect(QString(), QString::fromLatin1(notificationPath), notificationInterface_,
                                  QString::fromLatin1(actionQueuedMember), this,
                                  SLOT(handleActionQueuedNotification(QDBusMessage)));
    }
    return observing_;
}

void AppDelegate::applicationShouldHandleReopen() {
    shouldShowWindowAfterLaunch_ = true;
    Q_EMIT showMainWindowRequested();
}

void AppDelegate::applicationWillTerminate() {
    if (observing_) {
        bus_.disconnect(QString(), QString::fromLatin1(notificationPath), notificationInterface_,
                        QString::fromLatin1(actionQueuedMember), this,
                        SLOT(handleActionQueuedNotification(QDBusMessage)));
        observing_ = false;
    }
}

void AppDelegate::handleActionQueuedNotification(const QDBusMessage&) {
    hooks_.drain();
}

void AppDelegate::handleGetURLEvent(const QString& text) {
    const QUrl url(text, QUrl::StrictMode);
    if (text.isEmpty() || !url.isValid() || url.scheme().isEmpty()) {
        return;
    }
    pendingOpenURLs_.push_back(url);
    Q_EMIT openURL(url);
}

std::vector<QUrl> AppDelegate::drainPendingOpenURLs() {
    std::vector<QUrl> urls;
    urls.swap(pendingOpenURLs_);
    return urls;
}

bool AppDelegate::removePendingOpenURL(const QUrl& url) {
    const auto kept = std::remove(pendingOpenURLs_.begin(), pendingOpenURLs_.end(), url);
    const bool found = kept != pendingOpenURLs_.end();
    pendingOpenURLs_.erase(kept, pendingOpenURLs_.end());
    return found;
}

} // namespace quilla
