#pragma once

#include <string>

namespace quilla {

/// A new random (version 4) UUID in canonical upper-case text, e.g. "3F2504E0-4F89-41D3-9A0C-0305E82C3301".
std::string newUUIDString();

/// Whether `text` is a UUID in canonical form (either case).
bool isUUIDString(const std::string& text);

} // namespace quilla
