#pragma once
// The filter of an open-file dialog as scenarios write it: descriptions and
// their patterns, one after the other, separated by "|" ("Saves|*.sav|All
// files|*.*"). A "|" inside a double-byte character (its trail byte may be
// 0x7C) is part of the character, not a separator.

#include <string>
#include <string_view>

namespace qln {

// The filter in the form the platform's dialog takes: every part ended by
// "|". A description without a pattern after it and empty trailing parts are
// dropped; a missing filter gives "".
std::string dialog_filter_pairs(std::string_view filter);

}  // namespace qln
