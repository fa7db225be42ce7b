#pragma once
// Test data for the packers and unpackers.

#include <cstdint>
#include <random>
#include <unordered_map>
#include <vector>

namespace qln::test {

// Bytes in which no three-byte sequence repeats within `window` positions, so
// no packer can find a match in them.
inline std::vector<uint8_t> matchless_bytes(size_t len, uint32_t seed, size_t window = 8192) {
    std::mt19937 rng(seed);
    std::vector<uint8_t> out;
    out.reserve(len);
    std::unordered_map<uint32_t, size_t> last_seen;  // triple -> position
    while (out.size() < len) {
        const uint8_t b = static_cast<uint8_t>(rng());
        const size_t n = out.size();
        if (n >= 2) {
            const uint32_t triple = (uint32_t(out[n - 2]) << 16) | (uint32_t(out[n - 1]) << 8) | b;
            const auto it = last_seen.find(triple);
            if (it != last_seen.end() && n - it->second <= window + 2) continue;
            last_seen[triple] = n;
        }
        out.push_back(b);
    }
    return out;
}

// A 24-bit picture as a game would ship it: a sky gradient, flat panels, a
// dithered area and some noise. Rows of width * 3 bytes, blue-green-red.
inline std::vector<uint8_t> picture_like(int width, int height, uint32_t seed) {
    std::mt19937 rng(seed);
    std::vector<uint8_t> out(size_t(width) * height * 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            uint8_t* p = &out[(size_t(y) * width + x) * 3];
            if (y < height / 3) {
                p[0] = static_cast<uint8_t>(200 + y * 40 / height);
                p[1] = static_cast<uint8_t>(120 + y * 90 / height);
                p[2] = static_cast<uint8_t>(60 + x * 30 / width);
            } else if (x < width / 2) {
                const bool frame = x % 80 < 4 || y % 60 < 4;
                p[0] = frame ? 30 : 180;
                p[1] = frame ? 30 : 170;
                p[2] = frame ? 40 : 150;
            } else if (y < height * 2 / 3) {
                const uint8_t v = static_cast<uint8_t>(((x ^ y) & 3) * 20 + 90);
                p[0] = v;
                p[1] = static_cast<uint8_t>(v + 10);
                p[2] = static_cast<uint8_t>(v + 20);
            } else {
                const uint8_t base = static_cast<uint8_t>(100 + (x + y) / 8);
                p[0] = static_cast<uint8_t>(base + rng() % 6);
                p[1] = static_cast<uint8_t>(base + rng() % 6);
                p[2] = static_cast<uint8_t>(base + rng() % 6);
            }
        }
    }
    return out;
}

}  // namespace qln::test
