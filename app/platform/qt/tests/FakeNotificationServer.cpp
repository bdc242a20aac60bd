#include "app/platform/qt/tests/FakeNotificationServer.h"

namespace quilla::test {

namespace {
const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kConnection = QStringLiteral("quilla-fake-notifications");
} // namespace

FakeNotificationServer::FakeNotificationServer()
    : connection_(QDBusConnection::connectToBus(QDBusConnection::SessionBus, kConnection)) {
    registered_ = connection_.isConnected() &&
                  connection_.registerObject(kPath, this, QDBusConnection::ExportAllSlots) &&
                  connection_.registerService(kService);
}

FakeNotificationServer::~FakeNotificationServer() {
    connection_.unregisterService(kService);
    connection_.unregisterObject(kPath);
    QDBusConnection::disconnectFromBus(kConnection);
}

uint FakeNotificationServer::Notify(const QString& appName, uint, const QString& icon, const QString& summary,
                                    const QString& body, const QStringList&, const QVariantMap& hints, int) {
    received.push_back({appName, icon, summary, body, hints});
    return static_cast<uint>(received.size());
}

QStringList FakeNotificationServer::GetCapabilities() {
    return {QStringLiteral("body")};
}

} // namespace quilla::test
