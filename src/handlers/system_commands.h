#pragma once
// System and configuration commands: the settings file, display and program
// facts, the local date and time, message boxes, host programs and the two
// callback slots. (0x25 win_notice, 0x27 sys_display and 0x28 eval_alt live
// with the windows, the display and the control commands.)

#include <cstdint>

#include <string>
#include <vector>
#include "commands/command_table.h"

namespace qln {

struct Engine;
class Args;

// The host arguments for a scenario's command line (Shift-JIS): the line is
// split, the program's path goes through the host path mapping (a bare name
// that is no file of the current directory is left for the PATH search) and
// the other arguments are converted to UTF-8. False when nothing can be run.
[[nodiscard]] bool exec_arguments(const char* command_line, std::vector<std::string>& argv);

}  // namespace qln
