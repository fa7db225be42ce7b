#pragma once
// Starting host programs: the command line of a scenario is split as the
// original platform's programs split theirs, the program is started with
// posix_spawn (no descriptors but 0 to 2 inherited, the same environment and
// current directory) and can be waited for.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qln {

// Splits a command line into arguments:
//   - the program name (the first argument) ends at the next blank, or, when
//     it starts with a double quote, at the next double quote; backslashes in
//     it are plain characters;
//   - other arguments are separated by blanks (space, tab) outside quotes;
//     double quotes start and end quoted parts and are removed;
//   - 2n backslashes before a double quote give n backslashes and the quote
//     counts as a quote; 2n + 1 give n backslashes and a literal quote;
//     backslashes anywhere else are plain characters;
//   - inside quotes, two double quotes give one literal quote and end the
//     quoted part.
// Leading blanks are skipped. An empty line gives no arguments.
std::vector<std::string> command_line_split(std::string_view line);

// Starts argv[0] with argv as its arguments. A program name without a slash
// is searched in PATH. False (pid untouched) when it cannot be started.
[[nodiscard]] bool process_start(const std::vector<std::string>& argv, int& pid);

// Waits for pid to end, checking every interval_ms (of real time) whether
// keep_waiting(context) still holds. True with the exit code (128 + signal for
// a program ended by a signal) once it ended; false when the wait was given up.
[[nodiscard]] bool process_wait(int pid, uint32_t interval_ms, bool (*keep_waiting)(void*),
                                void* context, int& exit_code);

// Collects the programs of pids that have ended (no waiting) and removes them
// from the list.
void process_reap(std::vector<int32_t>& pids);

}  // namespace qln
