#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quilla {

/// The `Exec=` value of a desktop entry, as far as the login item needs it: writing a program
/// path so that spaces, quotes and "%" survive, and reading back which program a line starts.
class DesktopExecLine final {
public:
    /// `program` as the first argument of an Exec value: as is when it has only plain characters,
    /// else in double quotes with `"`, `` ` ``, `$` and `\` escaped; "%" doubled either way.
    static std::string quoteArgument(std::string_view program);

    /// The program an Exec value starts (its first argument, quotes and escapes removed). `exec`
    /// is the value with the file's string escapes already decoded. Nothing for an empty value or
    /// an unterminated quote.
    static std::optional<std::string> program(std::string_view exec);

    /// The value as it is written into a desktop entry file: `\` doubled and line breaks as `\n`,
    /// `\r` (the file's own string escapes, applied on top of the Exec quoting).
    static std::string escapeForFile(std::string_view exec);
};

} // namespace quilla
