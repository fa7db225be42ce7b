#include "graphics/picture.h"

namespace qln {

// The decoders (compressed format, Windows bitmap, targa, planar 16-colour)
// are added with the graphics subsystem; until then no bytes are a picture,
// so data-buffer loads keep such files as raw bytes.
Picture* picture_decode(const uint8_t* bytes, size_t length) {
    (void)bytes;
    (void)length;
    return nullptr;
}

}  // namespace qln
