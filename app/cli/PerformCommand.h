#pragma once

#include <istream>
#include <ostream>

namespace quilla {

/// `quilla perform ACTION_ID [--selected PATH]... [--target DIR] [--destination PATH]
/// [--preset ID] [--print-opens]`: runs one action on a terminal platform. `argv` starts at the
/// word after "perform". Text the action put on the clipboard goes to `out`, followed by the
/// result list (one path per line); prompts are asked on `err` and answered from `in`, one line
/// per field (end of input cancels). Returns 0 on success, 1 with the error's message on `err`
/// when the action fails, 2 with the usage on `err` for a malformed command line.
int runPerformCommand(int argc, char** argv, std::istream& in, std::ostream& out, std::ostream& err);

} // namespace quilla
