#pragma once
// Code page 932 character classes and the half-width to full-width mapping
// that the "@#" substitution and the full-width text flag use.

#include <cstdint>

#include "base/sjis.h"

namespace qln {

// The double-byte full-width form of a single-byte character (lead byte in the
// high 8 bits), or 0 when the byte has none and stays as it is. Printable
// ASCII 0x20-0x7E and the half-width katakana 0xA1-0xDF have one.
uint16_t full_width_of(uint8_t c);

}  // namespace qln
