#pragma once

#include "app/core/preferences/AppPreferences.h"

#include <functional>
#include <string_view>

namespace quilla {

class Pasteboard;
class Workspace;
class Prompts;
class FinderScripting;
class Trash;

/// The platform services and readers every operation may use. The executor itself keeps no
/// state between actions: preferences are read at the moment of use through `preferences`.
struct ExecutorContext {
    Pasteboard& pasteboard;
    Workspace& workspace;
    Prompts& prompts;
    FinderScripting& finderScripting;
    Trash& trash;
    /// Reads AppPreferences.plist afresh.
    std::function<AppPreferences()> preferences;

    /// Appends a line to the application's diagnostic log.
    void appendDiagnosticLog(std::string_view message) const;
};

} // namespace quilla
