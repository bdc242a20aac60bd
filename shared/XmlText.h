#pragma once

#include <string>
#include <string_view>

namespace quilla {

/// Whether `text` is valid UTF-8 made only of characters an XML 1.0 document may hold.
bool isXmlSafeText(std::string_view text);

/// `text` with every invalid UTF-8 sequence and every character XML 1.0 forbids (NUL and the
/// other control characters but tab, line feed and carriage return; U+FFFE, U+FFFF) replaced
/// by U+FFFD, so it can be written into an XML document that declares UTF-8.
std::string xmlSafeText(std::string_view text);

} // namespace quilla
