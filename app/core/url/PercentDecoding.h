#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quilla {

/// `text` with its %XX escapes decoded; nothing for a broken escape or an escaped NUL (no path,
/// name or ID holds one, and a NUL would cut a path short further on).
std::optional<std::string> percentDecoded(std::string_view text);

} // namespace quilla
