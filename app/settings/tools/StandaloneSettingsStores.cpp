#include "app/settings/tools/StandaloneSettingsStores.h"

namespace quilla {

bool InMemoryLoginItem::registerItem(std::string*) {
    enabled = true;
    return true;
}

bool InMemoryLoginItem::unregisterItem(std::string*) {
    enabled = false;
    return true;
}

} // namespace quilla
