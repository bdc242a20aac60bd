#pragma once

#include <string>

namespace quilla {

/// `text` with the ASCII letters A–Z lowered; other bytes (UTF-8 included) unchanged. File
/// extensions are compared this way.
std::string asciiLowercase(std::string text);

} // namespace quilla
