#pragma once
// The engine's one pseudo-random generator. State 1 at start, never reseeded.

#include <cstdint>

namespace qln {

struct Random {
    uint32_t state = 1;
};

// Next value, 0 to 32767.
inline int32_t random_next(Random& random) {
    random.state = random.state * 214013u + 2531011u;
    return static_cast<int32_t>((random.state >> 16) & 0x7FFF);
}

}  // namespace qln
