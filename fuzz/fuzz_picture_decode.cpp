// picture_decode over arbitrary bytes: never out of bounds, and every
// picture it returns survives a trip through the writers unchanged.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "graphics/decode_formats.h"
#include "graphics/encode_formats.h"

namespace {

// The compressed format can state 65535 x 65535 in a few bytes; such
// pictures are legitimate but too large to fill usefully while fuzzing.
bool too_large(const uint8_t* data, size_t size) {
    if (!qln::is_gcmp(data, size) || size < qln::gcmp_header_bytes) return false;
    const size_t w = data[8] | (data[9] << 8), h = data[10] | (data[11] << 8);
    return w * h > (size_t(1) << 22);
}

void round_trip(const qln::Picture& p) {
    if (size_t(p.width) * p.height > 65536) return;
    const std::vector<uint8_t> again = qln::encode_gcmp24(p);
    qln::PictureOwner back(qln::picture_decode(again.data(), again.size()));
    if (!back || back->width != p.width || back->height != p.height ||
        std::memcmp(back->pixels.get(), p.pixels.get(), p.pixel_bytes()) != 0)
        std::abort();
    if (p.alpha) {
        const std::vector<uint8_t> targa = qln::encode_targa(p);
        qln::PictureOwner t(qln::picture_decode(targa.data(), targa.size()));
        if (!t || !t->alpha || std::memcmp(t->alpha.get(), p.alpha.get(), p.alpha_bytes()) != 0)
            std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (too_large(data, size)) return 0;
    // An exact-size copy, so a stray read lands outside the allocation.
    std::vector<uint8_t> in(data, data + size);
    qln::PictureOwner p(qln::picture_decode(in.data(), in.size()));
    if (p) round_trip(*p);
    return 0;
}
