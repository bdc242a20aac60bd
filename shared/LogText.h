#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quilla {

/// Date and time as log lines show it, in UTC: "2026-12-08 03:55:06 +0000".
std::string logDateText(std::chrono::system_clock::time_point time);

/// A list of strings as log lines show it: ["a", "b"] (quotes, backslashes and control
/// characters escaped), [] when empty. Beyond `shownAtMost` items the rest is counted, not
/// listed: ["a", "b", … (998 more)].
std::string bracketedList(const std::vector<std::string>& items, std::size_t shownAtMost = SIZE_MAX);

/// How many selected paths a diagnostic line lists. The file manager asks for a menu on every
/// selection change, so a line listing a select-all of a large folder would be written again and
/// again, costing more than the menu and filling the log.
inline constexpr std::size_t kLoggedPathsAtMost = 20;

/// One string quoted the way `bracketedList` quotes each item.
std::string quotedLogString(std::string_view text);

/// `text` made safe to be one log line: every control character (C0, DEL, C1 and the Unicode line
/// and paragraph separators) is written as an escape ("\n", "\x7f", "\u2028"), so no value can
/// end the line early or forge another one. Everything else, backslashes too, stays as it is.
std::string singleLineLogText(std::string_view text);

} // namespace quilla
