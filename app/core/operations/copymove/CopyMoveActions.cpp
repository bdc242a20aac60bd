#include "app/core/executor/ActionFamilies.h"

namespace quilla {

// Not built yet: these action IDs stay unsupported until the operations land.
void registerCopyMoveActions(ActionTable&, const ExecutorContext&) {}

} // namespace quilla
