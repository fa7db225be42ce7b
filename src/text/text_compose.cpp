#include "text/text_compose.h"

#include <algorithm>
#include <cstring>

#include "graphics/draw.h"

namespace qln {
namespace {

// The part of the w x h box at (x, y) that lies inside the canvas.
Rect clip_box(const TextCanvas& c, int64_t x, int64_t y, int64_t w, int64_t h) {
    const int64_t left = std::max<int64_t>(x, 0), top = std::max<int64_t>(y, 0);
    const int64_t right = std::min<int64_t>(x + w, c.width);
    const int64_t bottom = std::min<int64_t>(y + h, c.height);
    if (right <= left || bottom <= top) return Rect{};
    return Rect{int32_t(left), int32_t(top), int32_t(right), int32_t(bottom)};
}

inline void put(uint8_t* dst, const uint8_t* colour) {
    dst[0] = colour[0];
    dst[1] = colour[1];
    dst[2] = colour[2];
}

// Row pointers of the canvas at (x, y); the alpha pointer is null when the
// alpha plane is left alone.
struct Row {
    uint8_t* pixel;
    uint8_t* alpha;
};
inline Row row_at(const TextCanvas& c, int32_t x, int32_t y) {
    const size_t at = size_t(y) * size_t(c.width) + size_t(x);
    return Row{c.pixels + at * 3, c.alpha ? c.alpha + at : nullptr};
}

bool ink_at(const GlyphInk& g, int64_t i, int64_t j) {
    return i >= 0 && i < g.cx && j >= 0 && j < g.cy && g.ink[size_t(j) * size_t(g.cx) + size_t(i)];
}

// Ink pixels of one row take colour (and the mask); the others keep their
// bytes. Written without branches: ink bytes follow no pattern a branch
// predictor could learn, and this is the path of most text.
inline void ink_row(uint8_t* pixel, uint8_t* alpha, const uint8_t* ink, int32_t n,
                    const uint8_t* colour, uint8_t mask) {
    // Local copies: the colour could alias the pixels for all the compiler knows.
    const uint8_t c0 = colour[0], c1 = colour[1], c2 = colour[2];
    for (int32_t i = 0; i < n; ++i) {
        // Most of a glyph is blank: eight bytes without ink are passed at once.
        if ((i & 7) == 0 && i + 8 <= n) {
            uint64_t eight;
            std::memcpy(&eight, ink + i, 8);
            if (eight == 0) {
                i += 7;
                continue;
            }
        }
        uint8_t* p = pixel + size_t(i) * 3;
        const uint8_t m = uint8_t(-int32_t(ink[i] != 0));
        p[0] = uint8_t((p[0] & ~m) | (c0 & m));
        p[1] = uint8_t((p[1] & ~m) | (c1 & m));
        p[2] = uint8_t((p[2] & ~m) | (c2 & m));
    }
    if (!alpha) return;
    for (int32_t i = 0; i < n; ++i) {
        const uint8_t m = uint8_t(-int32_t(ink[i] != 0));
        alpha[i] = uint8_t((alpha[i] & ~m) | (mask & m));
    }
}

// The glyph without shadow: ink in the character colour, the rest of the
// cell in the background colour or left alone.
void compose_plain(const TextCanvas& c, const Rect& area, int64_t x, int64_t y, const GlyphInk& g,
                   const TextColours& colours) {
    const int32_t n = area.width();
    for (int32_t row = area.top; row < area.bottom; ++row) {
        const uint8_t* ink = g.ink + size_t(row - y) * size_t(g.cx) + size_t(area.left - x);
        Row out = row_at(c, area.left, row);
        if (!c.opaque) {
            ink_row(out.pixel, out.alpha, ink, n, colours.ink, c.mask);
            continue;
        }
        for (int32_t i = 0; i < n; ++i)
            put(out.pixel + size_t(i) * 3, ink[i] ? colours.ink : colours.back);
        if (out.alpha) std::fill(out.alpha, out.alpha + n, c.mask);
    }
}

// The glyph with its shadow, in two passes: the shifted cell gets shadow ink
// (and background), then the cell gets its ink, and background only where no
// shadow ink lies under it. Pixels in neither cell are never visited.
void compose_shadowed(const TextCanvas& c, int64_t x, int64_t y, const GlyphInk& g,
                      const TextColours& colours, int32_t sx, int32_t sy) {
    const Rect shifted = clip_box(c, x + sx, y + sy, g.cx, g.cy);
    for (int32_t row = shifted.top; row < shifted.bottom; ++row) {
        const uint8_t* ink =
            g.ink + size_t(row - y - sy) * size_t(g.cx) + size_t(shifted.left - x - sx);
        Row out = row_at(c, shifted.left, row);
        if (!c.opaque) {
            ink_row(out.pixel, out.alpha, ink, shifted.width(), colours.shadow, c.mask);
            continue;
        }
        for (int32_t i = 0; i < shifted.width(); ++i)
            put(out.pixel + size_t(i) * 3, ink[i] ? colours.shadow : colours.back);
        if (out.alpha) std::fill(out.alpha, out.alpha + shifted.width(), c.mask);
    }
    const Rect cell = clip_box(c, x, y, g.cx, g.cy);
    for (int32_t row = cell.top; row < cell.bottom; ++row) {
        const int64_t j = row - y;
        const uint8_t* ink = g.ink + size_t(j) * size_t(g.cx) + size_t(cell.left - x);
        Row out = row_at(c, cell.left, row);
        if (!c.opaque) {
            ink_row(out.pixel, out.alpha, ink, cell.width(), colours.ink, c.mask);
            continue;
        }
        for (int32_t col = cell.left; col < cell.right; ++col, out.pixel += 3) {
            const int64_t i = col - x;
            if (ink[col - cell.left]) {
                put(out.pixel, colours.ink);
            } else if (!ink_at(g, i - sx, j - sy)) {
                put(out.pixel, colours.back);
            } else {
                continue;
            }
            if (out.alpha) out.alpha[col - cell.left] = c.mask;
        }
    }
}

// One blend through the table: coverage a of colour over the destination.
inline void blend(uint8_t* dst, const uint8_t* colour, const uint8_t* under, uint8_t a) {
    const auto& t = blend_table();
    for (int k = 0; k < 3; ++k) dst[k] = uint8_t(t[a][colour[k]] + t[255 - a][under[k]]);
}

}  // namespace

TextCanvas text_canvas_of(Picture& picture, int32_t mask_value, bool opaque) {
    TextCanvas c;
    c.pixels = picture.pixels.get();
    c.alpha = mask_value >= 0 ? picture.alpha.get() : nullptr;
    c.width = c.pixels ? picture.width : 0;
    c.height = c.pixels ? picture.height : 0;
    c.mask = uint8_t(mask_value);
    c.opaque = opaque;
    return c;
}

Rect text_compose_glyph(const TextCanvas& c, int64_t x, int64_t y, const GlyphInk& g,
                        const TextColours& colours, int32_t sx, int32_t sy) {
    const Rect cell = clip_box(c, x, y, g.cx, g.cy);
    if (g.cx <= 0 || g.cy <= 0 || !g.ink) return cell;
    if (sx == 0 && sy == 0) {
        if (!cell.empty()) compose_plain(c, cell, x, y, g, colours);
        return cell;
    }
    compose_shadowed(c, x, y, g, colours, sx, sy);
    // The box around both cells, as the caller marks it changed.
    const int64_t left = std::min<int64_t>(x, x + sx), top = std::min<int64_t>(y, y + sy);
    const int64_t right = std::max<int64_t>(x, x + sx) + g.cx;
    const int64_t bottom = std::max<int64_t>(y, y + sy) + g.cy;
    return clip_box(c, left, top, right - left, bottom - top);
}

Rect text_compose_cell(const TextCanvas& c, int64_t x, int64_t y, const Picture& sheet,
                       int32_t cell_x, int32_t cell_y, int32_t w, int32_t h, bool tinted,
                       const TextColours& colours) {
    const Rect area = clip_box(c, x, y, w, h);
    if (area.empty()) return area;
    const int32_t n = area.width();
    for (int32_t row = area.top; row < area.bottom; ++row) {
        const size_t at =
            size_t(cell_y + (row - y)) * sheet.width + size_t(cell_x + (area.left - x));
        const uint8_t* src = sheet.pixels.get() + at * 3;
        const uint8_t* src_alpha = sheet.alpha ? sheet.alpha.get() + at : nullptr;
        Row out = row_at(c, area.left, row);
        for (int32_t i = 0; i < n; ++i, src += 3) {
            uint8_t* dst = out.pixel + size_t(i) * 3;
            // Coverage of the colour: the blue byte when tinted, else the
            // sheet's alpha (an opaque copy without one).
            const uint8_t a = tinted ? src[0] : (src_alpha ? src_alpha[i] : 255);
            const uint8_t* colour = tinted ? colours.ink : src;
            if (a == 255) {
                put(dst, colour);
            } else if (a == 0) {
                if (!c.opaque) continue;
                put(dst, colours.back);
            } else {
                blend(dst, colour, c.opaque ? colours.back : dst, a);
            }
            if (out.alpha) out.alpha[i] = c.mask;
        }
    }
    return area;
}

}  // namespace qln
