#pragma once

namespace quilla {

/// Runs the application until SIGTERM or SIGINT (or its quit command) and answers the process's
/// exit status. A start that finds the application already running hands it a reopen (or its URL
/// arguments) over the session bus and answers 0 at once.
int runQuillaApplication(int argc, char** argv);

} // namespace quilla
