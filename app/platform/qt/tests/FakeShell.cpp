#include "app/platform/qt/tests/FakeShell.h"

namespace quilla::test {

namespace {
const QString kService = QStringLiteral("org.gnome.Shell");
const QString kPath = QStringLiteral("/org/gnome/Shell");
const QString kConnection = QStringLiteral("quilla-fake-shell");
} // namespace

FakeShell::FakeShell()
    : connection_(QDBusConnection::connectToBus(QDBusConnection::SessionBus, kConnection)) {
    registered_ = connection_.isConnected() &&
                  connection_.registerObject(kPath, this, QDBusConnection::ExportAllSlots) &&
                  connection_.registerService(kService);
}

FakeShell::~FakeShell() {
    connection_.unregisterService(kService);
    connection_.unregisterObject(kPath);
    QDBusConnection::disconnectFromBus(kConnection);
}

void FakeShell::ShowApplications() {
    ++applicationGridShown;
}

} // namespace quilla::test
