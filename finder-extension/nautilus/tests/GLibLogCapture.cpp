#include "finder-extension/nautilus/tests/GLibLogCapture.h"

#include <glib.h>

#include <mutex>

namespace quilla::test {
namespace {

std::mutex& captureMutex() {
    static std::mutex mutex;
    return mutex;
}

std::vector<std::string>& captured() {
    static std::vector<std::string> messages;
    return messages;
}

GLogWriterOutput captureWriter(GLogLevelFlags level, const GLogField* fields, gsize count, gpointer) {
    std::string domain;
    std::string message;
    for (gsize i = 0; i < count; ++i) {
        const std::string key(fields[i].key);
        const auto* value = static_cast<const char*>(fields[i].value);
        const std::string text =
            fields[i].length < 0 ? std::string(value) : std::string(value, fields[i].length);
        if (key == "GLIB_DOMAIN") {
            domain = text;
        } else if (key == "MESSAGE") {
            message = text;
        }
    }
    if (domain == "app.kelvarin.Quilla.FinderExtension") {
        const std::lock_guard lock(captureMutex());
        captured().push_back(message);
    }
    // The default writer turns always-fatal levels into an abort.
    return g_log_writer_default(level, fields, count, nullptr);
}

} // namespace

void GLibLogCapture::install() {
    static std::once_flag once;
    std::call_once(once, [] {
        g_log_set_always_fatal(GLogLevelFlags(G_LOG_LEVEL_WARNING | G_LOG_LEVEL_CRITICAL));
        g_log_set_writer_func(captureWriter, nullptr, nullptr);
    });
}

std::vector<std::string> GLibLogCapture::messages() {
    const std::lock_guard lock(captureMutex());
    return captured();
}

void GLibLogCapture::clear() {
    const std::lock_guard lock(captureMutex());
    captured().clear();
}

bool GLibLogCapture::contains(const std::string& text) {
    for (const auto& message : messages()) {
        if (message.find(text) != std::string::npos) {
            return true;
        }
    }
    return false;
}

} // namespace quilla::test
