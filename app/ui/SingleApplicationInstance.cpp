#include "app/ui/SingleApplicationInstance.h"

#include "app/ui/FreedesktopApplicationAdaptor.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>

namespace quilla {
namespace {

const QString kInterface = QStringLiteral("org.freedesktop.Application");
// The owner answers from its main loop; a start that waits longer is better off failing visibly.
constexpr int kHandOverTimeoutMs = 10000;

} // namespace

SingleApplicationInstance::SingleApplicationInstance(QDBusConnection connection, QString busName)
    : connection_(std::move(connection)), busName_(std::move(busName)) {
    new FreedesktopApplicationAdaptor(this);
}

SingleApplicationInstance::~SingleApplicationInstance() {
    release();
}

void SingleApplicationInstance::release() {
    if (ownsName_) {
        connection_.unregisterService(busName_);
        ownsName_ = false;
    }
    if (registeredObject_) {
        connection_.unregisterObject(QString::fromLatin1(objectPath));
        registeredObject_ = false;
    }
}

SingleApplicationInstance::Claim SingleApplicationInstance::claim() {
    if (!connection_.isConnected() || !connection_.interface()) {
        return Claim::noBus;
    }
    // The object comes first, so a hand-over can never reach a name without it.
    registeredObject_ = registeredObject_ || connection_.registerObject(QString::fromLatin1(objectPath), this,
                                                                        QDBusConnection::ExportAdaptors);
    const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply =
        connection_.interface()->registerService(busName_, QDBusConnectionInterface::DontQueueService,
                                                 QDBusConnectionInterface::DontAllowReplacement);
    if (!reply.isValid()) {
        return Claim::noBus;
    }
    ownsName_ = reply.value() == QDBusConnectionInterface::ServiceRegistered;
    return ownsName_ ? Claim::owner : Claim::alreadyRunning;
}

bool SingleApplicationInstance::handOver(QDBusConnection connection, const QString& busName,
                                         const std::vector<std::string>& urls, std::string* error) {
    QDBusMessage call;
    if (urls.empty()) {
        call = QDBusMessage::createMethodCall(busName, QString::fromLatin1(objectPath), kInterface,
                                              QStringLiteral("Activate"));
        call << QVariantMap();
    } else {
        QStringList uris;
        for (const auto& url : urls) {
            uris << QString::fromStdString(url);
        }
        call = QDBusMessage::createMethodCall(busName, QString::fromLatin1(objectPath), kInterface,
                                              QStringLiteral("Open"));
        call << uris << QVariantMap();
    }
    const QDBusMessage reply = connection.call(call, QDBus::Block, kHandOverTimeoutMs);
    if (reply.type() == QDBusMessage::ErrorMessage) {
        if (error) {
            *error = reply.errorMessage().toStdString();
        }
        return false;
    }
    return true;
}

} // namespace quilla
