#pragma once

#include "shared/PropertyList.h"

#include <map>
#include <optional>
#include <string>

namespace quilla {

/// The value as a dictionary whose every value is a string; nothing when it is anything else.
/// The list files hold only such entries, and one entry of another shape makes a file unusable.
std::optional<std::map<std::string, std::string>> stringDictionary(const plist::Value& value);

} // namespace quilla
