#include "app/ui/FreedesktopApplicationAdaptor.h"

#include "app/ui/SingleApplicationInstance.h"

namespace quilla {

FreedesktopApplicationAdaptor::FreedesktopApplicationAdaptor(SingleApplicationInstance* instance)
    : QDBusAbstractAdaptor(instance), instance_(instance) {}

void FreedesktopApplicationAdaptor::Activate(const QVariantMap&) {
    Q_EMIT instance_->reopenRequested();
}

void FreedesktopApplicationAdaptor::Open(const QStringList& uris, const QVariantMap&) {
    for (const QString& uri : uris) {
        Q_EMIT instance_->urlReceived(uri);
    }
}

void FreedesktopApplicationAdaptor::ActivateAction(const QString&, const QVariantList&, const QVariantMap&) {}

} // namespace quilla
