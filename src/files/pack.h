#pragma once
// Packers for the two unpacking methods, used by the tools and the tests.
// Whatever they produce unpacks byte for byte with unpack_a and unpack_b.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace qln {

// Method A data for in (no header).
std::vector<uint8_t> pack_a(const uint8_t* in, size_t len);
// The packed layout: u16 unpacked length, u16 packed length (= total - 4),
// then method A data. Returns false when len exceeds 65,535 bytes or the
// packed data does not fit the u16 length field.
[[nodiscard]] bool pack_layout(const uint8_t* in, size_t len, std::vector<uint8_t>& out);
// Method B data for in (no header).
std::vector<uint8_t> pack_b(const uint8_t* in, size_t len);

}  // namespace qln
