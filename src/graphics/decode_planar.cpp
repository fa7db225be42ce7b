// The planar 16-colour format: a scrambled 16-entry palette, then tiles
// painted into an index plane in three phases (8 x 2 tiles, 4 x 2 tiles,
// then one 4 x 2 tile for every cell still unpainted).

#include <cstring>
#include <new>

#include "graphics/decode_formats.h"
#include "graphics/decode_reader.h"

namespace qln {

namespace {

// The tile grids are fixed whatever the picture's width.
constexpr size_t wide_columns = 80;     // 8 x 2 tiles
constexpr size_t narrow_columns = 160;  // 4 x 2 tiles

struct Planes {
    size_t width, height;
    uint8_t* index;  // width * height colour indices
    uint8_t* cells;  // (width / 4) * (height / 2) marks

    void mark(size_t x, size_t y) { cells[(y / 2) * (width / 4) + x / 4] = 1; }
};

// An 8 x 2 tile from 8 bytes: per plane, the top row's byte then the bottom's.
void read_wide_tile(const uint8_t* b, uint8_t tile[2][8]) {
    for (int row = 0; row < 2; ++row) {
        for (int x = 0; x < 8; ++x) {
            uint8_t v = 0;
            for (int plane = 0; plane < 4; ++plane)
                v |= ((b[2 * plane + row] >> (7 - x)) & 1) << plane;
            tile[row][x] = v;
        }
    }
}

// A 4 x 2 tile from 4 bytes, one per plane: high nibble top row, low bottom.
void read_narrow_tile(const uint8_t* b, uint8_t tile[2][4]) {
    for (int row = 0; row < 2; ++row) {
        for (int x = 0; x < 4; ++x) {
            uint8_t v = 0;
            for (int plane = 0; plane < 4; ++plane)
                v |= ((b[plane] >> (7 - 4 * row - x)) & 1) << plane;
            tile[row][x] = v;
        }
    }
}

// Paints tiles of tw x 2 pixels, `across` side by side and `down` row pairs
// deep from (x, y); those that would leave the picture are not painted.
template <size_t tw>
void paint(Planes& pl, const uint8_t (&tile)[2][tw], size_t x, size_t y, size_t across,
           size_t down) {
    if (x + tw > pl.width || y + 2 > pl.height) return;
    const size_t fit_across = (pl.width - x) / tw, fit_down = (pl.height - y) / 2;
    if (across > fit_across) across = fit_across;
    if (down > fit_down) down = fit_down;
    for (size_t j = 0; j < down; ++j) {
        const size_t ty = y + 2 * j;
        for (size_t i = 0; i < across; ++i) {
            const size_t tx = x + tw * i;
            std::memcpy(pl.index + ty * pl.width + tx, tile[0], tw);
            std::memcpy(pl.index + (ty + 1) * pl.width + tx, tile[1], tw);
            for (size_t c = 0; c < tw; c += 4) pl.mark(tx + c, ty);
        }
    }
}

bool phase_wide(ByteReader& in, Planes& pl) {
    uint8_t tile[2][8];
    const uint8_t* b;
    if (!in.take(8, b)) return false;
    read_wide_tile(b, tile);
    for (;;) {
        uint32_t e, low;
        if (!in.u8(e)) return false;
        if (e == 255) return true;
        if (e == 127) {
            if (!in.take(8, b)) return false;
            read_wide_tile(b, tile);
            continue;
        }
        if (!in.u8(low)) return false;
        const size_t n = ((e & 63) << 8) | low;
        const size_t x = (n % wide_columns) * 8, y = (n / wide_columns) * 2;
        uint32_t a = 1, d = 1;
        switch (e >> 6) {
            case 0:
                if (!in.u8(a) || !in.u8(d)) return false;
                break;
            case 1:
                if (!in.u8(a)) return false;
                break;
            case 2:
                if (!in.u8(d)) return false;
                break;
            default:
                break;
        }
        paint(pl, tile, x, y, a, d);
    }
}

bool phase_narrow(ByteReader& in, Planes& pl) {
    uint8_t tile[2][4];
    const uint8_t* b;
    if (!in.take(4, b)) return false;
    read_narrow_tile(b, tile);
    for (;;) {
        uint32_t e, low;
        if (!in.u8(e)) return false;
        if (e == 255) return true;
        if (e == 254) {
            if (!in.take(4, b)) return false;
            read_narrow_tile(b, tile);
            continue;
        }
        if (!in.u8(low)) return false;
        const size_t n = ((e & 127) << 8) | low;
        const size_t x = (n % narrow_columns) * 4, y = (n / narrow_columns) * 2;
        uint32_t d = 1;
        if (e < 128 && !in.u8(d)) return false;
        paint(pl, tile, x, y, 1, d);
    }
}

bool phase_fill(ByteReader& in, Planes& pl) {
    uint8_t tile[2][4];
    const size_t columns = pl.width / 4, rows = pl.height / 2;
    for (size_t cy = 0; cy < rows; ++cy) {
        for (size_t cx = 0; cx < columns; ++cx) {
            if (pl.cells[cy * columns + cx]) continue;
            const uint8_t* b;
            if (!in.take(4, b)) return false;
            read_narrow_tile(b, tile);
            paint(pl, tile, cx * 4, cy * 2, 1, 1);
        }
    }
    return true;
}

}  // namespace

Picture* decode_planar(const uint8_t* bytes, size_t length) {
    if (length < planar_header_bytes) return nullptr;
    const size_t width = size_t(bytes[2]) * 8, height = size_t(bytes[3]) * 2;
    // The refusal needs all four; the placement bytes are not otherwise used.
    if (bytes[0] >= 80 && bytes[1] >= 200 && width > 640 && height > 400) return nullptr;

    uint8_t palette[16][3];  // blue, green, red
    for (size_t i = 0; i < 16; ++i) {
        for (size_t k = 0; k < 3; ++k) {
            const uint8_t b = bytes[4 + 3 * i + k];
            const uint8_t v = static_cast<uint8_t>(uint8_t(~b) - planar_key_char(i, k));
            if (v > 15) return nullptr;
            // Stored green, red, blue.
            palette[i][k == 0 ? 1 : k == 1 ? 2 : 0] = static_cast<uint8_t>(v * 17);
        }
    }

    const size_t pixels = width * height, cells = (width / 4) * (height / 2);
    std::unique_ptr<uint8_t[]> index(new (std::nothrow) uint8_t[pixels + 1]);
    std::unique_ptr<uint8_t[]> marks(new (std::nothrow) uint8_t[cells + 1]);
    if (!index || !marks) return nullptr;
    std::memset(index.get(), 0, pixels);
    std::memset(marks.get(), 0, cells);
    Planes pl{width, height, index.get(), marks.get()};
    ByteReader in(bytes, length, planar_header_bytes);
    if (!phase_wide(in, pl) || !phase_narrow(in, pl) || !phase_fill(in, pl)) return nullptr;

    PictureOwner pic(picture_create_decoded(width, height));
    if (!pic) return nullptr;
    uint8_t* dst = pic->pixels.get();
    for (size_t i = 0; i < pixels; ++i, dst += 3) std::memcpy(dst, palette[index[i]], 3);
    return pic.release();
}

}  // namespace qln
