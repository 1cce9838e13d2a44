#pragma once

namespace tools {

// Ctrl+C and SIGTERM (and, on Windows, a console's Ctrl+C or Ctrl+Break) during a long command
// are noted instead of ending the process at once, so that the command can remove what it has
// half made and stop the processes it started. A second signal of the same kind ends the
// process as the signal always does.
void watchForInterrupt();

// Whether such a signal has come since watchForInterrupt.
bool interruptRequested();

} // namespace tools
