#include "graphics/decode_formats.h"

namespace qln {

// Formats are told apart by content alone. Only the targa reader has a
// fallback: what it refuses goes to the planar reader, whose header has no
// signature to check.
Picture* picture_decode(const uint8_t* bytes, size_t length) {
    if (!bytes) return nullptr;
    if (is_gcmp(bytes, length)) return decode_gcmp(bytes, length);
    if (is_bmp(bytes, length)) return decode_bmp(bytes, length);
    if (Picture* targa = decode_targa(bytes, length)) return targa;
    return decode_planar(bytes, length);
}

}  // namespace qln
