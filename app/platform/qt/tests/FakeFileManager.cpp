#include "app/platform/qt/tests/FakeFileManager.h"

#include <QDBusConnectionInterface>

namespace quilla::test {

namespace {
const QString kService = QStringLiteral("org.freedesktop.FileManager1");
const QString kPath = QStringLiteral("/org/freedesktop/FileManager1");
const QString kConnection = QStringLiteral("quilla-fake-file-manager");
} // namespace

FakeFileManager::FakeFileManager()
    : connection_(QDBusConnection::connectToBus(QDBusConnection::SessionBus, kConnection)) {
    registered_ = connection_.isConnected() &&
                  connection_.registerObject(kPath, this, QDBusConnection::ExportAllSlots) &&
                  connection_.registerService(kService);
}

FakeFileManager::~FakeFileManager() {
    connection_.unregisterService(kService);
    connection_.unregisterObject(kPath);
    QDBusConnection::disconnectFromBus(kConnection);
}

void FakeFileManager::ShowFolders(const QStringList& uris, const QString&) {
    calls << QStringLiteral("ShowFolders ") + uris.join(u' ');
}

void FakeFileManager::ShowItems(const QStringList& uris, const QString&) {
    calls << QStringLiteral("ShowItems ") + uris.join(u' ');
}

} // namespace quilla::test
