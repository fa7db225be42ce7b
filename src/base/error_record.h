#pragma once
// The scenario error record: filled by err_report, shown by the error dialog.

#include <cstdint>

namespace qln {

struct ScenarioErrorRecord {
    uint32_t command = 0;       // command byte, 0 to 255
    uint32_t error_number = 0;  // the negated result code (101 for -101)
    char command_name[256] = {};
    char error_text[256] = {};
    char detail[512] = {};
    // For the author, when a names file had no line for this error: the
    // engine's command name and what the error number means ("" otherwise).
    char hint[256] = {};
};

}  // namespace qln
