#pragma once

#include <chrono>
#include <string>
#include <string_view>
#include <vector>

namespace quilla {

/// Date and time as log lines show it, in UTC: "2026-12-08 03:55:06 +0000".
std::string logDateText(std::chrono::system_clock::time_point time);

/// A list of strings as log lines show it: ["a", "b"] (quotes, backslashes and control
/// characters escaped), [] when empty.
std::string bracketedList(const std::vector<std::string>& items);

/// One string quoted the way `bracketedList` quotes each item.
std::string quotedLogString(std::string_view text);

/// `text` made safe to be one log line: every control character (C0, DEL, C1 and the Unicode line
/// and paragraph separators) is written as an escape ("\n", "\x7f", "\u2028"), so no value can
/// end the line early or forge another one. Everything else, backslashes too, stays as it is.
std::string singleLineLogText(std::string_view text);

} // namespace quilla
