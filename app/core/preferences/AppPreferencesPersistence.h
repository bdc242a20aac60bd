#pragma once

#include "app/core/preferences/AppPreferences.h"
#include "shared/PropertyList.h"

#include <filesystem>
#include <optional>

namespace quilla {

/// Reads and writes AppPreferences.plist in the application's own settings folder (one copy
/// only; the extension never reads it). Stateless: every call goes to the file.
class AppPreferencesPersistence final {
public:
    /// Where the file lives.
    static std::filesystem::path fileURL();

    /// The saved preferences: all defaults for a missing or damaged file, and the default for
    /// each key that is absent or not a boolean.
    static AppPreferences load();
    /// The saved preferences as `load`, but nothing for a missing or unreadable file (a reader
    /// that already holds values keeps them).
    static std::optional<AppPreferences> loadSaved();

    /// Writes the whole file atomically, creating the folder first. Failures are silent: the
    /// caller keeps its in-memory values.
    static void save(const AppPreferences& preferences);

    static plist::Value encode(const AppPreferences& preferences);
    static AppPreferences decode(const plist::Value& root);
};

} // namespace quilla
