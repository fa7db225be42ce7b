#pragma once
// The two unpacking methods. Both refuse input that would read past its end,
// reach before the start of the output or write past out_len.

#include <cstddef>
#include <cstdint>

namespace qln {

// Method A: flag bytes, literals and 12-bit-distance matches. Used for the
// packed layout of every compressed file reference.
[[nodiscard]] bool unpack_a(const uint8_t* in, size_t in_len, uint8_t* out, size_t out_len);

// Method B: the token format of "Gpc7" archive entries.
[[nodiscard]] bool unpack_b(const uint8_t* in, size_t in_len, uint8_t* out, size_t out_len);

}  // namespace qln
