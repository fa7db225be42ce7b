#pragma once
// What the error dialog shows an author when the command-names or
// error-messages file has no line for an error: the engine's own name of the
// command and a short English description of the error number.

#include <cstdint>

namespace qln {

// A few words on an error number (106: "no such window"); "" when unknown.
const char* error_description(uint32_t error_number);

}  // namespace qln
