#pragma once
// String literals of the scenario assembly text: UTF-8 text stored as CP932,
// with escapes for bytes that text cannot carry.
//
//   \\  \"  \n  \r  \t  \xHH (exactly two hex digits, any byte)

#include <string>
#include <string_view>

#include "base/cp932.h"

namespace qln {

// Turns the characters between a literal's quotes into bytes. On failure
// returns false with bad_at the offset in content and why the reason.
bool literal_decode(std::string_view content, Cp932& codec, std::string& out, size_t& bad_at,
                    std::string& why);

// A quoted literal that literal_decode turns back into exactly these bytes.
// Characters that do not survive the trip through UTF-8 and back are escaped.
std::string literal_quote(std::string_view bytes, Cp932& codec);

}  // namespace qln
