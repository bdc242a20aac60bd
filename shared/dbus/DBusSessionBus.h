#pragma once

#include <gio/gio.h>

namespace quilla {

/// The process's session bus connection, looked up once; nullptr when there is none. A failed
/// look-up is not retried, because callers run on a file manager's UI thread. Not owned by the caller.
GDBusConnection* sharedSessionBus() noexcept;

} // namespace quilla
