#include "screen/pause_display.h"

#include <algorithm>

#include "engine/engine.h"
#include "graphics/dither.h"
#include "graphics/draw.h"
#include "graphics/picture.h"
#include "screen/screen.h"
#include "tables/tables.h"

namespace qln {
namespace {

// Row 0 is the bottom of the screen, so the rows read upside down here.
constexpr const char* kPauseMask[kPauseMaskRows] = {
    "...............................",  //
    ".#.....#...#..###...###..#####.",  //
    ".#.....#...#.#...#.#...#.#.....",  //
    ".#.....#...#.#...#.....#.#.....",  //
    ".####..#####.#...#..###..####..",  //
    ".#...#.#...#.#...#.#.....#.....",  //
    ".#...#..#.#..#...#.#...#.#.....",  //
    ".####....#...#...#..###..#####.",  //
    "...............................",  //
};

// Nearest-neighbour stretch in 16.16 steps: the source index of target i.
struct Stretch {
    uint64_t step;
    Stretch(uint32_t source, uint32_t target) : step((uint64_t(source) << 16) / target) {}
    uint32_t at(uint32_t i) const { return uint32_t((i * step) >> 16); }
};

}  // namespace

bool pause_mask_cell(int column, int row) {
    if (column < 0 || column >= kPauseMaskColumns || row < 0 || row >= kPauseMaskRows) return false;
    return kPauseMask[row][column] == '#';
}

bool pause_display_show(Engine& engine, PauseCopy& copy) {
    DisplayBitmap& d = engine.shared.display;
    if (copy.held || d.width <= 0 || d.height <= 0) return false;
    const bool eight_bit = d.bits_per_pixel == 8;
    const size_t row_bytes = size_t(d.width) * (eight_bit ? 1 : 3);
    const size_t bytes = size_t(d.stride) * size_t(d.height);
    if (d.stride < row_bytes || d.pixels.size() < bytes) return false;
    copy.pixels.assign(d.pixels.begin(), d.pixels.begin() + ptrdiff_t(bytes));
    copy.held = true;

    const Picture* picture = nullptr;
    if (engine.shell.pause_picture >= 0) {
        picture = buf_get_picture(engine, engine.shell.pause_picture);
        if (picture && (picture->width == 0 || picture->height == 0 || !picture->pixels)) {
            picture = nullptr;
        }
    }
    const uint32_t w = uint32_t(d.width), h = uint32_t(d.height);
    const Stretch mask_x(kPauseMaskColumns, w), mask_y(kPauseMaskRows, h);
    const Stretch pic_x(picture ? picture->width : 1, w), pic_y(picture ? picture->height : 1, h);
    const auto& blend = blend_table();

    for (uint32_t row = 0; row < h; ++row) {
        const uint8_t* old_row = copy.pixels.data() + size_t(row) * d.stride;
        uint8_t* out_row = d.pixels.data() + size_t(row) * d.stride;
        // The picture's rows follow the bitmap's rows, first to first.
        const uint8_t* pic_row = nullptr;
        const uint8_t* alpha_row = nullptr;
        if (picture) {
            const size_t sy = pic_y.at(row);
            pic_row = picture->pixels.get() + sy * picture->width * 3;
            if (picture->alpha) alpha_row = picture->alpha.get() + sy * picture->width;
        }
        const char* mask_row = kPauseMask[mask_y.at(row)];
        // The screen row, for the 8-bit dither (the bitmap is bottom-up).
        const uint8_t* dither = kDitherMatrix[(h - 1 - row) & 3];
        for (uint32_t x = 0; x < w; ++x) {
            uint8_t old[3];
            if (eight_bit) {
                const uint8_t* c = d.colours[old_row[x]];
                old[0] = c[0], old[1] = c[1], old[2] = c[2];
            } else {
                old[0] = old_row[x * 3], old[1] = old_row[x * 3 + 1], old[2] = old_row[x * 3 + 2];
            }
            uint8_t out[3];
            if (picture) {
                const uint32_t sx = pic_x.at(x);
                const uint8_t* p = pic_row + size_t(sx) * 3;
                const uint8_t a = alpha_row ? alpha_row[sx] : 255;
                for (int i = 0; i < 3; ++i) {
                    out[i] = a == 255 ? p[i]
                             : a == 0 ? old[i]
                                      : uint8_t(blend[a][p[i]] + blend[255 - a][old[i]]);
                }
            } else if (mask_row[mask_x.at(x)] == '#') {
                out[0] = 0, out[1] = 192, out[2] = 0;
            } else {
                out[0] = old[0] >> 2, out[1] = old[1] >> 2, out[2] = old[2] >> 2;
            }
            if (eight_bit) {
                out_row[x] = dither_index(out[2], out[1], out[0], dither[x & 3]);
            } else {
                out_row[x * 3] = out[0], out_row[x * 3 + 1] = out[1], out_row[x * 3 + 2] = out[2];
            }
        }
    }
    return true;
}

bool pause_display_restore(Engine& engine, PauseCopy& copy) {
    if (!copy.held) return false;
    DisplayBitmap& d = engine.shared.display;
    const bool fits = copy.pixels.size() == size_t(d.stride) * size_t(d.height) &&
                      d.pixels.size() >= copy.pixels.size();
    if (fits) std::copy(copy.pixels.begin(), copy.pixels.end(), d.pixels.begin());
    copy.pixels = std::vector<uint8_t>();
    copy.held = false;
    return fits;
}

}  // namespace qln
