#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QStringList>
#include <QVariantMap>

#include <vector>

namespace quilla::test {

/// A notification server on the test's session bus that records every Notify call.
class FakeNotificationServer final : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
    struct Received {
        QString appName;
        QString icon;
        QString summary;
        QString body;
        QVariantMap hints;
    };

    FakeNotificationServer();
    ~FakeNotificationServer() override;
    bool registered() const { return registered_; }

    std::vector<Received> received;

public Q_SLOTS:
    uint Notify(const QString& appName, uint replacesId, const QString& icon, const QString& summary,
                const QString& body, const QStringList& actions, const QVariantMap& hints, int timeout);
    QStringList GetCapabilities();

private:
    QDBusConnection connection_;
    bool registered_ = false;
};

} // namespace quilla::test
