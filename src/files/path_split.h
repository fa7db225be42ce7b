#pragma once
// Splitting a scenario path into its directory part and its file name.

#include <cstdint>
#include <string_view>

namespace qln {

struct PathParts {
    std::string_view directory;  // up to and including the last "\" or ":"; may be empty
    std::string_view name;       // the rest
};

// Splits after the last backslash or colon. Double-byte Shift-JIS characters
// are stepped over whole, so a trail byte equal to "\" is never a split
// point; a lead byte cut off at the end counts as one character.
PathParts path_split(std::string_view path);

// The drive number of a path: its first byte, upper-cased when it is a to z,
// minus 64 (3 for "C:..."). Other first bytes give what that arithmetic
// gives; an empty path gives -64.
int32_t path_drive_number(std::string_view path);

}  // namespace qln
