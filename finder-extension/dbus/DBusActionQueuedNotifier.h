#pragma once

#include "finder-extension/core/QuillaActionQueuedNotifier.h"

namespace quilla {

/// Posts "app.kelvarin.Quilla.ActionQueued" as a signal on the session bus.
class DBusActionQueuedNotifier final : public QuillaActionQueuedNotifier {
public:
    void postActionQueued() noexcept override;
};

} // namespace quilla
