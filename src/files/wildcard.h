#pragma once
// File name patterns as the original platform matches them: "*" stands for
// any run of characters, "?" for exactly one, and everything else matches
// itself without regard to ASCII case. A double-byte Shift-JIS character is
// one character (never half of one), and its bytes are not case-folded.
// Two old rules stay: a pattern ending in ".*" also matches a name without
// any dot ("*.*" matches "README"), and a pattern ending in "." matches
// only names without a dot ("*." matches "README", not "a.txt").

#include <string_view>

namespace qln {

bool wildcard_match(std::string_view pattern, std::string_view name);

// Whether the text holds "*" or "?" outside double-byte characters.
bool wildcard_has_any(std::string_view text);

}  // namespace qln
