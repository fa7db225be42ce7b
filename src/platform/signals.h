#pragma once
// Termination signals (SIGTERM, SIGINT, SIGHUP) end the program the way
// closing its window does: the message loop sees the request within one pass
// and the normal exit runs (settings written, devices closed).
//
// Signal dispositions belong to the whole process, so the flag the handler
// sets is the process's one: every engine's message loop reads it.

namespace qln {

// Installs the handlers; the program's entry calls it once.
void termination_signals_install();
// True once a termination signal has arrived.
bool termination_signalled();

}  // namespace qln
