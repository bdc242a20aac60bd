#include "app/settings/ApplicationIcon.h"

// The icon is compiled into this static library and nothing refers to it by symbol, so the
// linker would leave it out unless registered explicitly (outside any namespace, as Qt needs).
static void registerSettingsResources() {
    Q_INIT_RESOURCE(settings);
}

namespace quilla {

QIcon applicationIcon() {
    static const bool registered = (registerSettingsResources(), true);
    (void)registered;
    return QIcon(QStringLiteral(":/quilla/app.kelvarin.Quilla.svg"));
}

} // namespace quilla
