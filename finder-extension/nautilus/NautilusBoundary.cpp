#include "finder-extension/nautilus/NautilusBoundary.h"

#include "finder-extension/nautilus/NautilusSystemLog.h"

#include <string>

namespace quilla {

void reportBoundaryFailure(std::string_view entryPoint, std::string_view reason) noexcept {
    try {
        std::string message(entryPoint);
        message += " failed: ";
        message += reason;
        NautilusSystemLog::write(FinderSystemLog::Level::notice, "NautilusModule", message);
    } catch (...) {
        // Out of memory while reporting: nothing more can be done safely.
    }
}

} // namespace quilla
