// The planar 16-colour writer. Large areas of one 8 x 2 pattern become
// rectangles of phase-1 tiles, repeated 4 x 2 patterns become phase-2 tiles,
// and the cells left over are stored one by one in phase 3.

#include <algorithm>
#include <cstring>

#include "graphics/decode_formats.h"
#include "graphics/encode_formats.h"

namespace qln {

namespace {

constexpr size_t wide_columns = 80;
constexpr size_t narrow_columns = 160;

struct Layout {
    size_t width, height;
    std::vector<uint8_t> index;  // colour index per pixel
    std::vector<uint8_t> done;   // per 4 x 2 cell: painted by phase 1 or 2
    size_t cell_columns() const { return width / 4; }
    size_t cell_rows() const { return height / 2; }
    uint8_t at(size_t x, size_t y) const { return index[y * width + x]; }
};

// Sixteen indices of the 8 x 2 block at (x, y), four bits each.
uint64_t wide_key(const Layout& l, size_t x, size_t y) {
    uint64_t k = 0;
    for (size_t r = 0; r < 2; ++r)
        for (size_t i = 0; i < 8; ++i) k = (k << 4) | l.at(x + i, y + r);
    return k;
}
uint32_t narrow_key(const Layout& l, size_t x, size_t y) {
    uint32_t k = 0;
    for (size_t r = 0; r < 2; ++r)
        for (size_t i = 0; i < 4; ++i) k = (k << 4) | l.at(x + i, y + r);
    return k;
}

void put_wide_tile(std::vector<uint8_t>& out, uint64_t key) {
    for (int plane = 0; plane < 4; ++plane) {
        for (int r = 0; r < 2; ++r) {
            uint8_t b = 0;
            for (int i = 0; i < 8; ++i) {
                const unsigned v = (key >> (4 * (15 - (8 * r + i)))) & 15;
                b |= ((v >> plane) & 1) << (7 - i);
            }
            out.push_back(b);
        }
    }
}
void put_narrow_tile(std::vector<uint8_t>& out, uint32_t key) {
    for (int plane = 0; plane < 4; ++plane) {
        uint8_t b = 0;
        for (int j = 0; j < 8; ++j) {
            const unsigned v = (key >> (4 * (7 - j))) & 15;
            b |= ((v >> plane) & 1) << (7 - j);
        }
        out.push_back(b);
    }
}

void wide_phase(std::vector<uint8_t>& out, Layout& l) {
    const size_t cols = std::min(l.width / 8, wide_columns), rows = l.height / 2;
    struct Block {
        uint64_t key;
        size_t n;
    };
    std::vector<Block> blocks;
    std::vector<uint64_t> keys(cols * rows);
    std::vector<uint8_t> used(cols * rows, 0);
    for (size_t by = 0; by < rows; ++by) {
        for (size_t bx = 0; bx < cols; ++bx) {
            keys[by * cols + bx] = wide_key(l, bx * 8, by * 2);
            const size_t n = by * wide_columns + bx;
            if (n < (size_t(1) << 14)) blocks.push_back({keys[by * cols + bx], by * cols + bx});
        }
    }
    std::stable_sort(blocks.begin(), blocks.end(),
                     [](const Block& a, const Block& b) { return a.key < b.key; });
    bool first = true;
    for (size_t g = 0; g < blocks.size();) {
        size_t end = g;
        while (end < blocks.size() && blocks[end].key == blocks[g].key) ++end;
        if (end - g < 2) {
            g = end;
            continue;
        }
        const uint64_t key = blocks[g].key;
        if (!first) out.push_back(127);
        first = false;
        put_wide_tile(out, key);
        auto free_same = [&](size_t bx, size_t by) {
            const size_t n = by * wide_columns + bx;
            return bx < cols && by < rows && n < (size_t(1) << 14) && !used[by * cols + bx] &&
                   keys[by * cols + bx] == key;
        };
        for (size_t i = g; i < end; ++i) {
            const size_t bx = blocks[i].n % cols, by = blocks[i].n / cols;
            if (used[blocks[i].n]) continue;
            size_t a = 1, d = 1;
            while (a < 255 && free_same(bx + a, by)) ++a;
            for (bool whole = true; whole && d < 255; d += whole) {
                for (size_t k = 0; k < a && whole; ++k) whole = free_same(bx + k, by + d);
            }
            for (size_t j = 0; j < d; ++j) {
                for (size_t k = 0; k < a; ++k) {
                    used[(by + j) * cols + bx + k] = 1;
                    l.done[(by + j) * l.cell_columns() + 2 * (bx + k)] = 1;
                    l.done[(by + j) * l.cell_columns() + 2 * (bx + k) + 1] = 1;
                }
            }
            const size_t n = by * wide_columns + bx;
            const uint8_t hi = static_cast<uint8_t>(n >> 8), lo = static_cast<uint8_t>(n);
            // Modes 1 and 3 cannot reach the last 256 positions (127 and 255
            // are commands); mode 0 can.
            if (a == 1 && d == 1 && hi != 63) {
                out.insert(out.end(), {uint8_t(0xC0 | hi), lo});
            } else if (d == 1 && hi != 63) {
                out.insert(out.end(), {uint8_t(0x40 | hi), lo, uint8_t(a)});
            } else if (a == 1) {
                out.insert(out.end(), {uint8_t(0x80 | hi), lo, uint8_t(d)});
            } else {
                out.insert(out.end(), {hi, lo, uint8_t(a), uint8_t(d)});
            }
        }
        g = end;
    }
    if (first) out.insert(out.end(), 8, 0);  // the phase always reads one tile
    out.push_back(255);
}

void narrow_phase(std::vector<uint8_t>& out, Layout& l) {
    const size_t cols = std::min(l.cell_columns(), narrow_columns), rows = l.cell_rows();
    const size_t cc = l.cell_columns();
    struct Cell {
        uint32_t key;
        size_t at;  // cy * cc + cx
    };
    std::vector<Cell> cells;
    for (size_t cy = 0; cy < rows; ++cy)
        for (size_t cx = 0; cx < cols; ++cx)
            if (!l.done[cy * cc + cx] && cy * narrow_columns + cx < (size_t(1) << 15))
                cells.push_back({narrow_key(l, cx * 4, cy * 2), cy * cc + cx});
    std::stable_sort(cells.begin(), cells.end(),
                     [](const Cell& a, const Cell& b) { return a.key < b.key; });
    std::vector<uint8_t> mine(l.done.size(), 0);
    for (const Cell& c : cells) mine[c.at] = 1;
    bool first = true;
    for (size_t g = 0; g < cells.size();) {
        size_t end = g;
        while (end < cells.size() && cells[end].key == cells[g].key) ++end;
        // A tile costs five bytes and saves two per cell.
        if (end - g < 3) {
            g = end;
            continue;
        }
        const uint32_t key = cells[g].key;
        if (!first) out.push_back(254);
        first = false;
        put_narrow_tile(out, key);
        for (size_t i = g; i < end; ++i) {
            const size_t cx = cells[i].at % cc, cy = cells[i].at / cc;
            if (l.done[cells[i].at]) continue;
            size_t d = 1;
            while (d < 255 && cy + d < rows && mine[(cy + d) * cc + cx] &&
                   !l.done[(cy + d) * cc + cx] && narrow_key(l, cx * 4, (cy + d) * 2) == key)
                ++d;
            for (size_t j = 0; j < d; ++j) l.done[(cy + j) * cc + cx] = 1;
            const size_t n = cy * narrow_columns + cx;
            const uint8_t hi = static_cast<uint8_t>(n >> 8), lo = static_cast<uint8_t>(n);
            if (d == 1 && hi < 126) {
                out.insert(out.end(), {uint8_t(0x80 | hi), lo});
            } else {
                out.insert(out.end(), {hi, lo, uint8_t(d)});
            }
        }
        g = end;
    }
    if (first) out.insert(out.end(), 4, 0);
    out.push_back(255);
}

}  // namespace

std::vector<uint8_t> encode_planar(const Picture& p, uint8_t place_x, uint8_t place_y) {
    const size_t width = p.width, height = p.height;
    if (width % 8 || height % 2 || width > 255 * 8 || height > 255 * 2) return {};
    // The reader checks for the bitmap signature first.
    if (place_x == 'B' && place_y == 'M') return {};
    uint32_t colours[16];
    size_t used = 0;
    Layout l{width, height, std::vector<uint8_t>(width * height), {}};
    l.done.assign(l.cell_columns() * l.cell_rows(), 0);
    for (size_t i = 0; i < width * height; ++i) {
        const uint8_t* px = p.pixels.get() + 3 * i;
        if (px[0] % 17 || px[1] % 17 || px[2] % 17) return {};
        const uint32_t c = px[0] | (px[1] << 8) | (uint32_t(px[2]) << 16);
        size_t k = 0;
        while (k < used && colours[k] != c) ++k;
        if (k == used) {
            if (used == 16) return {};
            colours[used++] = c;
        }
        l.index[i] = static_cast<uint8_t>(k);
    }

    std::vector<uint8_t> out = {place_x, place_y, uint8_t(width / 8), uint8_t(height / 2)};
    for (size_t i = 0; i < 16; ++i) {
        const uint32_t c = i < used ? colours[i] : 0;
        const uint8_t blue = uint8_t(c) / 17, green = uint8_t(c >> 8) / 17,
                      red = uint8_t(c >> 16) / 17;
        const uint8_t stored[3] = {green, red, blue};
        for (size_t k = 0; k < 3; ++k)
            out.push_back(static_cast<uint8_t>(~(stored[k] + planar_key_char(i, k))));
    }
    // A header that also reads as a targa would be taken for one.
    if (out[1] == 0 && out[2] == 2 && out[16] == 32) return {};
    wide_phase(out, l);
    narrow_phase(out, l);
    for (size_t cy = 0; cy < l.cell_rows(); ++cy)
        for (size_t cx = 0; cx < l.cell_columns(); ++cx)
            if (!l.done[cy * l.cell_columns() + cx])
                put_narrow_tile(out, narrow_key(l, cx * 4, cy * 2));
    return out;
}

}  // namespace qln
