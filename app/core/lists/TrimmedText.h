#pragma once

#include <string>
#include <string_view>

namespace quilla {

/// `text` without leading and trailing white space and line breaks, Unicode ones included
/// (U+00A0, U+2028, the ideographic space U+3000, …), so a name typed with a Chinese input
/// method's full-width space trims like an ASCII one. Invalid UTF-8 is never trimmed.
std::string trimmedText(std::string_view text);

} // namespace quilla
