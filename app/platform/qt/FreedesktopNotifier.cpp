#include "app/platform/qt/FreedesktopNotifier.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QStringList>
#include <QVariantMap>

namespace quilla {

FreedesktopNotifier::FreedesktopNotifier(std::function<void(std::string_view)> log, QDBusConnection bus)
    : log_(std::move(log)), bus_(std::move(bus)) {}

void FreedesktopNotifier::post(const std::string& title, const std::string& body) {
    if (!bus_.isConnected()) {
        log_("notification not shown, no session bus: " + title + ": " + body);
        return;
    }
    QDBusMessage call =
        QDBusMessage::createMethodCall(QString::fromLatin1(service), QString::fromLatin1(path),
                                       QString::fromLatin1(service), QStringLiteral("Notify"));
    const QVariantMap hints{
        {QStringLiteral("desktop-entry"), QStringLiteral("app.kelvarin.Quilla")},
        {QStringLiteral("urgency"), QVariant::fromValue<uchar>(1)},
    };
    call << QStringLiteral("Quilla") << 0u << QString::fromLatin1(iconName) << QString::fromStdString(title)
         << QString::fromStdString(body) << QStringList() << hints << -1;
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call), &watchers_);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, &watchers_,
                     [log = log_, body](QDBusPendingCallWatcher* finished) {
                         const QDBusPendingReply<uint> reply = *finished;
                         if (reply.isError()) {
                             log("notification not shown: " + reply.error().message().toStdString() +
                                 " text=" + body);
                         }
                         finished->deleteLater();
                     });
}

} // namespace quilla
