#include "finder-extension/nautilus/NautilusSystemLog.h"

#include <glib.h>

namespace quilla {
namespace {

constexpr char logDomain[] = "app.kelvarin.Quilla.FinderExtension";

} // namespace

void NautilusSystemLog::log(Level level, std::string_view category, std::string_view message) noexcept {
    write(level, category, message);
}

void NautilusSystemLog::write(Level level, std::string_view category, std::string_view message) noexcept {
    // Never above "message": Files may run with G_DEBUG=fatal-warnings, and a warning of ours
    // would then abort the file manager, which is exactly what the extension must never do.
    const GLogLevelFlags glibLevel = level == Level::info ? G_LOG_LEVEL_INFO : G_LOG_LEVEL_MESSAGE;
    const GLogField fields[] = {
        {"GLIB_DOMAIN", logDomain, -1},
        {"PRIORITY", level == Level::info ? "6" : "5", -1},
        {"QUILLA_CATEGORY", category.data(), static_cast<gssize>(category.size())},
        {"MESSAGE", message.data(), static_cast<gssize>(message.size())},
    };
    g_log_structured_array(glibLevel, fields, G_N_ELEMENTS(fields));
}

} // namespace quilla
