#pragma once
// Pictures for the effects' tests. A source pixel tells where it came from
// (red 0xCC, green its row, blue its column), so a drawing reads as the
// source columns it shows: xs(p, row) is one character per pixel, the
// column in base 36, '.' for the untouched ground, '*' for the fill colour
// and '_' for black.

#include <memory>
#include <string>

#include "graphics/picture.h"
#include "support/pixels.h"

namespace qln::test {

constexpr uint32_t kGround = 0x123456, kFill = 0x33AA77;

struct PictureFree {
    void operator()(Picture* p) const { picture_free(p); }
};
using PicturePtr = std::unique_ptr<Picture, PictureFree>;

inline PicturePtr filled_picture(int32_t w, int32_t h, uint32_t rgb) {
    PicturePtr p(picture_create(uint16_t(w), uint16_t(h)));
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) set_pixel(*p, x, y, rgb);
    return p;
}

inline PicturePtr source_picture(int32_t w, int32_t h) {
    PicturePtr p = filled_picture(w, h, 0);
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) set_pixel(*p, x, y, 0xCC0000u | uint32_t(y) << 8 | x);
    return p;
}

inline char source_mark(uint32_t rgb, uint32_t coordinate) {
    if (rgb >> 16 == 0xCC) return "0123456789abcdefghijklmnopqrstuvwxyz"[coordinate % 36];
    return rgb == kGround ? '.' : rgb == kFill ? '*' : rgb == 0 ? '_' : '?';
}

// The source columns of row y, or the source rows of column x.
inline std::string xs(const Picture& p, int32_t y) {
    std::string s;
    for (int32_t x = 0; x < p.width; ++x) s += source_mark(pixel(p, x, y), pixel(p, x, y) & 0xFF);
    return s;
}
inline std::string ys(const Picture& p, int32_t x) {
    std::string s;
    for (int32_t y = 0; y < p.height; ++y)
        s += source_mark(pixel(p, x, y), (pixel(p, x, y) >> 8) & 0xFF);
    return s;
}
// Every row's xs, each ended by '/'.
inline std::string all_xs(const Picture& p) {
    std::string s;
    for (int32_t y = 0; y < p.height; ++y) s += xs(p, y) + "/";
    return s;
}

// True when every source pixel in p stands on the row it came from.
inline bool rows_kept(const Picture& p) {
    for (int32_t y = 0; y < p.height; ++y)
        for (int32_t x = 0; x < p.width; ++x)
            if (pixel(p, x, y) >> 16 == 0xCC && ((pixel(p, x, y) >> 8) & 0xFF) != uint32_t(y))
                return false;
    return true;
}

}  // namespace qln::test
