#pragma once
// Picture headers that state sizes or depths meant to make a reader take
// memory for nothing, generated rather than stored, and what qlnpic says.

#include <cstdint>
#include <vector>

namespace qln::test {

struct HostilePicture {
    const char* name;
    std::vector<uint8_t> bytes;
    const char* why;
};

inline std::vector<uint8_t> with_size(std::vector<uint8_t> b, size_t at, uint16_t w, uint16_t h,
                                      size_t h_at) {
    b[at] = uint8_t(w), b[at + 1] = uint8_t(w >> 8), b[h_at] = uint8_t(h);
    b[h_at + 1] = uint8_t(h >> 8);
    return b;
}

inline std::vector<uint8_t> gcmp_file(uint16_t w, uint16_t h, int8_t depth) {
    std::vector<uint8_t> b = {'G', 'C', 'm', 'p', 'S', 'H', '0', 0, 0, 0, 0, 0, uint8_t(depth),
                              0,   0,   0};
    return with_size(b, 8, w, h, 10);
}

inline std::vector<HostilePicture> hostile_pictures() {
    std::vector<uint8_t> bmp(54, 0), targa(18, 0);
    bmp[0] = 'B', bmp[1] = 'M', bmp[14] = 40, bmp[26] = 1, bmp[28] = 24;
    targa[2] = 2, targa[16] = 32;
    return {
        {"d16.qcg", gcmp_file(50596, 30327, 16), "depth 16: only depths 1 and 24"},
        {"huge24.qcg", gcmp_file(65535, 65535, 24), "65535 x 65535 is beyond the picture limits"},
        {"wide1.qcg", gcmp_file(16385, 1, 1), "16385 x 1 is beyond the picture limits"},
        {"plain1.qcg", gcmp_file(16384, 4096, -1), "pixel data damaged or cut short"},
        {"huge.bmp", with_size(bmp, 18, 65535, 65535, 22), "65535 x 65535 is beyond"},
        {"huge.tga", with_size(targa, 12, 40000, 30000, 14), "40000 x 30000 is beyond"},
    };
}

}  // namespace qln::test
