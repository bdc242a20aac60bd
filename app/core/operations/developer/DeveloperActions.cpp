#include "app/core/executor/ActionFamilies.h"

namespace quilla {

// Not built yet: these action IDs stay unsupported until the operations land.
void registerDeveloperActions(ActionTable&, const ExecutorContext&) {}

} // namespace quilla
