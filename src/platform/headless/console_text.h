#pragma once
// Engine texts (Shift-JIS) as one line of UTF-8 for the headless log.

#include <string>

namespace qln {

// Converts Shift-JIS text to UTF-8 so that it stays on one line: a backslash
// becomes "\\", line breaks and other control bytes become "\n", "\r", "\t"
// or "\xNN", and bytes that are not Shift-JIS become "\xNN". With quoted, a
// double quote becomes "\"" as well.
std::string console_text(const char* sjis, bool quoted);

}  // namespace qln
