#pragma once

#include <string>

namespace quilla {

/// One favourite place or application. Lists identify entries by `id`; equality covers all fields.
struct CustomDestination {
    std::string id;   ///< a new UUID for entries the user adds; a fixed word or the name for defaults
    std::string name; ///< shown in menus and in the settings list
    std::string path; ///< absolute: a folder, or a desktop entry file for openApplication

    bool operator==(const CustomDestination&) const = default;
};

} // namespace quilla
