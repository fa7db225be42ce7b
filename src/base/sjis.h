#pragma once
// Character classes of code page 932 (Shift-JIS), the engine's text encoding.

#include <cstdint>

namespace qln {

// Lead bytes of the double-byte characters.
inline bool sjis_is_lead_byte(uint8_t c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

}  // namespace qln
