#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <string>
#include <vector>

namespace quilla {

/// Keeps the application single: the running instance owns the well-known bus name and serves
/// org.freedesktop.Application on its object path; a later start finds the name taken and hands
/// over a reopen (Activate) or its URLs (Open) instead of running a second copy.
class SingleApplicationInstance final : public QObject {
    Q_OBJECT

public:
    static constexpr const char* defaultBusName = "app.kelvarin.Quilla";
    static constexpr const char* objectPath = "/app/kelvarin/Quilla";

    enum class Claim {
        owner,          ///< this process now owns the name
        alreadyRunning, ///< another process owns it
        noBus,          ///< no session bus: nothing can be single, the caller runs on alone
    };

    explicit SingleApplicationInstance(QDBusConnection connection = QDBusConnection::sessionBus(),
                                       QString busName = QString::fromLatin1(defaultBusName));
    /// Gives the name back, so the next start becomes the owner at once.
    ~SingleApplicationInstance() override;

    /// Publishes the hand-over object, then asks for the name without queueing.
    Claim claim();
    /// Gives the name and the object up early (on the way out), so that a start meanwhile runs
    /// on its own instead of handing over to an instance that no longer answers.
    void release();

    /// Hands `urls` (or, when empty, a reopen) to the running owner of `busName` and waits for it to
    /// accept them. False with `error` filled when it does not answer.
    static bool handOver(QDBusConnection connection, const QString& busName,
                         const std::vector<std::string>& urls, std::string* error);

Q_SIGNALS:
    /// The application was started again without a URL (the desktop's "reopen").
    void reopenRequested();
    /// The application was started again with a URL, or asked to open one.
    void urlReceived(const QString& url);

private:
    friend class FreedesktopApplicationAdaptor;

    QDBusConnection connection_;
    QString busName_;
    bool registeredObject_ = false;
    bool ownsName_ = false;
};

} // namespace quilla
