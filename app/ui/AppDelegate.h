#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QObject>
#include <QUrl>

#include <functional>
#include <string_view>
#include <vector>

namespace quilla {

/// The application's reactions to the desktop: the end of launching, a reopen, URLs handed over
/// by a later start, the extension's "app.kelvarin.Quilla.ActionQueued" signal and termination.
/// Main thread only.
class AppDelegate final : public QObject {
    Q_OBJECT

public:
    struct Hooks {
        std::function<void()> drain;                    ///< schedules one queue drain pass
        std::function<bool()> wasLikelyLaunchedAtLogin; ///< the login-start check
        std::function<void(std::string_view)> log;      ///< the diagnostic log
    };

    static constexpr const char* actionQueuedInterface = "app.kelvarin.Quilla";
    static constexpr const char* actionQueuedMember = "ActionQueued";
    static constexpr const char* notificationPath = "/app/kelvarin/Quilla";

    /// `notificationInterface` is the interface the signal arrives on (tests use one of their own,
    /// so signals other processes post on a shared bus never reach them).
    explicit AppDelegate(Hooks hooks, QDBusConnection bus = QDBusConnection::sessionBus(),
                         QString notificationInterface = QString::fromLatin1(actionQueuedInterface));
    ~AppDelegate() override;

    /// Decides the window's fate, logs "app launched", drains once and starts listening for queued
    /// actions. False when the bus refused the subscription (the one-second poll still runs).
    bool applicationDidFinishLaunching();
    /// A reopen: the settings window is wanted from now on.
    void applicationShouldHandleReopen();
    /// Stops listening for queued actions.
    void applicationWillTerminate();
    /// A URL handed over by the desktop or a later start; anything that is not a URL is dropped.
    void handleGetURLEvent(const QString& text);

    bool shouldShowWindowAfterLaunch() const { return shouldShowWindowAfterLaunch_; }
    bool isObservingActionQueued() const { return observing_; }

    /// The URLs not handled yet, emptying the list.
    std::vector<QUrl> drainPendingOpenURLs();
    /// Removes every entry equal to `url`; false when there was none (another hook handled it).
    bool removePendingOpenURL(const QUrl& url);

Q_SIGNALS:
    /// "quillaOpenURL": a URL arrived (it also stays pending until handled).
    void openURL(const QUrl& url);
    /// The settings window should be shown (reopen).
    void showMainWindowRequested();

private Q_SLOTS:
    void handleActionQueuedNotification(const QDBusMessage& message);

private:
    Hooks hooks_;
    QDBusConnection bus_;
    QString notificationInterface_;
    bool shouldShowWindowAfterLaunch_ = true;
    bool observing_ = false;
    std::vector<QUrl> pendingOpenURLs_;
};

} // namespace quilla
