#pragma once
// Pictures the effect benchmarks draw from: random bytes, the same for a seed.

#include <cstdint>
#include <random>

#include "windows/picture_targets.h"

namespace qln::bench {

inline PicturePtr noise_picture(int64_t w, int64_t h, uint32_t seed) {
    PicturePtr p(picture_create(uint16_t(w), uint16_t(h)));
    std::mt19937 rng(seed);
    for (size_t i = 0; i < p->pixel_bytes(); ++i) p->pixels[i] = uint8_t(rng());
    return p;
}

}  // namespace qln::bench
