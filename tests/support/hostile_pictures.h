#pragma once
// Picture files that state sizes or depths meant to make a reader take
// memory for nothing: a header each, generated rather than stored.

#include <cstdint>
#include <string>
#include <vector>

namespace qln::test {

struct HostilePicture {
    const char* name;
    std::vector<uint8_t> bytes;
    const char* why;  // what qlnpic --info says of it
};

inline void put_u16_at(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    b[at] = uint8_t(v);
    b[at + 1] = uint8_t(v >> 8);
}

inline std::vector<uint8_t> gcmp_file(uint32_t width, uint32_t height, int8_t depth) {
    std::vector<uint8_t> b = {'G', 'C', 'm', 'p', 'S', 'H', '0', 0, 0, 0, 0, 0, 0, 0, 0, 0};
    put_u16_at(b, 8, width);
    put_u16_at(b, 10, height);
    b[12] = uint8_t(depth);
    return b;
}

inline std::vector<HostilePicture> hostile_pictures() {
    std::vector<uint8_t> bmp(54, 0);
    bmp[0] = 'B';
    bmp[1] = 'M';
    bmp[14] = 40;
    put_u16_at(bmp, 18, 65535);
    put_u16_at(bmp, 22, 65535);
    bmp[26] = 1;
    bmp[28] = 24;
    std::vector<uint8_t> targa(18, 0);
    targa[2] = 2;
    put_u16_at(targa, 12, 40000);
    put_u16_at(targa, 14, 30000);
    targa[16] = 32;
    return {
        {"depth16.qcg", gcmp_file(50596, 30327, 16), "depth 16: only depths 1 and 24"},
        {"depth0.qcg", gcmp_file(65535, 65535, 0), "depth 0: only depths 1 and 24"},
        {"huge24.qcg", gcmp_file(65535, 65535, 24), "65535 x 65535 is beyond the picture limits"},
        {"wide1.qcg", gcmp_file(16385, 1, 1), "16385 x 1 is beyond the picture limits"},
        {"plain1.qcg", gcmp_file(16384, 4096, -1), "pixel data damaged or cut short"},
        {"huge.bmp", bmp, "65535 x 65535 is beyond the picture limits"},
        {"huge.tga", targa, "40000 x 30000 is beyond the picture limits"},
    };
}

}  // namespace qln::test
