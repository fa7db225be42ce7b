// picture_draw: the one drawing operation every command uses. The rules that
// pick the path are applied first, then the clipping, then the colour and the
// alpha copy row by row through the kernels. Clipping is done in 64-bit so no
// argument, however hostile, can move a row pointer outside either picture.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>

#include "graphics/draw.h"
#include "graphics/draw_kernels.h"

namespace qln {
namespace {

// Pixels handled per step when a row has to pass through a stack buffer.
constexpr int64_t kChunk = 1024;

struct DrawMode {
    bool colour;      // flags below 100
    bool weighted;    // units digit, and the source has an alpha plane
    bool copy_alpha;  // tens digit, and both pictures have alpha planes
    int rop;          // 0..5
    uint8_t opacity;  // 1..255
};

DrawMode read_mode(const Picture& dst, const Picture& src, int32_t opacity, int32_t rop,
                   int32_t flags) {
    DrawMode mode;
    mode.colour = flags < 100;
    mode.weighted = flags % 10 != 0 && src.alpha;
    mode.copy_alpha = (flags / 10) % 10 != 0 && src.alpha && dst.alpha;
    mode.rop = rop >= 1 && rop <= 5 ? rop : 0;
    mode.opacity = static_cast<uint8_t>(opacity);
    return mode;
}

// Colour of n pixels: d from s (and the source alpha when weighted).
void colour_span(const DrawKernels& k, const DrawMode& mode, uint8_t* d, const uint8_t* s,
                 const uint8_t* alpha, size_t n) {
    if (mode.weighted) {
        k.weighted(d, s, alpha, n, mode.rop, mode.opacity);
    } else if (mode.rop != 0) {
        k.rop(d, s, n * 3, mode.rop, mode.opacity);
    } else if (mode.opacity == 255) {
        std::memmove(d, s, n * 3);
    } else {
        k.blend(d, s, d, n * 3, mode.opacity);
    }
}

// One row where source and destination share it: each chunk is read into a
// buffer before it is written, and chunks go in the direction that never reads
// what this row already wrote, so the result is that of a separate source.
void colour_row_in_place(const DrawKernels& k, const DrawMode& mode, uint8_t* d, const uint8_t* s,
                         const uint8_t* alpha, int64_t w, bool backwards) {
    uint8_t pixels[kChunk * 3];
    uint8_t weights[kChunk];
    for (int64_t done = 0; done < w;) {
        const int64_t n = std::min(kChunk, w - done);
        const int64_t at = backwards ? w - done - n : done;
        std::memcpy(pixels, s + at * 3, size_t(n) * 3);
        if (mode.weighted) std::memcpy(weights, alpha + at, size_t(n));
        colour_span(k, mode, d + at * 3, pixels, weights, size_t(n));
        done += n;
    }
}

void draw_one_to_one(Picture& dst, int64_t dx, int64_t dy, const Picture& src, int64_t sx,
                     int64_t sy, int64_t w, int64_t h, const DrawMode& mode) {
    if (sx < 0) w += sx, dx -= sx, sx = 0;
    if (sy < 0) h += sy, dy -= sy, sy = 0;
    if (sx + w > src.width) w = src.width - sx;
    if (sy + h > src.height) h = src.height - sy;
    if (dx < 0) w += dx, sx -= dx, dx = 0;
    if (dy < 0) h += dy, sy -= dy, dy = 0;
    if (dx + w > dst.width) w = dst.width - dx;
    if (dy + h > dst.height) h = dst.height - dy;
    if (w < 1 || h < 1) return;

    // Drawing a picture onto itself: rows go bottom-up when the destination
    // lies below the source, so no row is read after it was written.
    const bool same = &dst == &src;
    const bool bottom_up = same && dy > sy;
    const bool same_rows = same && dy == sy;
    const size_t dst_stride = size_t(dst.width) * 3, src_stride = size_t(src.width) * 3;

    if (mode.colour) {
        const DrawKernels& k = draw_kernels();
        for (int64_t r = 0; r < h; ++r) {
            const int64_t row = bottom_up ? h - 1 - r : r;
            uint8_t* d = dst.pixels.get() + size_t(dy + row) * dst_stride + size_t(dx) * 3;
            const uint8_t* s = src.pixels.get() + size_t(sy + row) * src_stride + size_t(sx) * 3;
            const uint8_t* a = mode.weighted
                                   ? src.alpha.get() + size_t(sy + row) * src.width + size_t(sx)
                                   : nullptr;
            if (same_rows) {
                colour_row_in_place(k, mode, d, s, a, w, dx > sx);
            } else {
                colour_span(k, mode, d, s, a, size_t(w));
            }
        }
    }
    if (mode.copy_alpha) {
        for (int64_t r = 0; r < h; ++r) {
            const int64_t row = bottom_up ? h - 1 - r : r;
            std::memmove(dst.alpha.get() + size_t(dy + row) * dst.width + size_t(dx),
                         src.alpha.get() + size_t(sy + row) * src.width + size_t(sx), size_t(w));
        }
    }
}

struct StretchBox {
    int64_t dx, dy, dw, dh, sx, sy, sw, sh;
};

// Clips both rectangles, keeping them in proportion. False when nothing is
// left to draw. Sizes above 65535 cannot belong to a picture and would not
// fit the 16.16 scale (dw << 16 in 32 bits): such drawings are refused. Within
// that range every product below fits 64 bits and gives the 32-bit results.
bool clip_stretched(const Picture& dst, const Picture& src, StretchBox& b) {
    if (b.dw < 1 || b.dh < 1 || b.sw < 1 || b.sh < 1) return false;
    if (b.dw > 65535 || b.dh > 65535 || b.sw > 65535 || b.sh > 65535) return false;
    const int64_t kx = (b.dw << 16) / b.sw;  // at least 1 in this range
    const int64_t ky = (b.dh << 16) / b.sh;
    if (b.dx < 0) {
        const int64_t cut = (-b.dx << 16) / kx;
        b.dw += b.dx, b.sw -= cut, b.sx += cut, b.dx = 0;
    }
    if (b.dy < 0) {
        const int64_t cut = (-b.dy << 16) / ky;
        b.dh += b.dy, b.sh -= cut, b.sy += cut, b.dy = 0;
    }
    if (const int64_t e = b.dx + b.dw - dst.width; e > 0) b.dw -= e, b.sw -= (e << 16) / kx;
    if (const int64_t e = b.dy + b.dh - dst.height; e > 0) b.dh -= e, b.sh -= (e << 16) / ky;
    // From here the sizes only shrink; stopping early also keeps the products
    // below small.
    if (b.dw < 1 || b.dh < 1 || b.sw < 1 || b.sh < 1) return false;
    if (b.sx < 0) {
        const int64_t cut = (kx * -b.sx) >> 16;
        b.sw += b.sx, b.dw -= cut, b.dx += cut, b.sx = 0;
    }
    if (b.sy < 0) {
        const int64_t cut = (ky * -b.sy) >> 16;
        b.sh += b.sy, b.dh -= cut, b.dy += cut, b.sy = 0;
    }
    // A source rectangle wholly left of, above, right of or below the source
    // picture draws nothing (its width or height would be 0 or less).
    if (b.sw < 1 || b.sh < 1 || b.sx >= src.width || b.sy >= src.height) return false;
    if (const int64_t e = b.sx + b.sw - src.width; e > 0) b.sw -= e, b.dw -= (e * kx) >> 16;
    if (const int64_t e = b.sy + b.sh - src.height; e > 0) b.sh -= e, b.dh -= (e * ky) >> 16;
    return b.dw >= 1 && b.dh >= 1;
}

// Nearest-neighbour sampling in 16.16 steps: destination pixel i of a row
// takes source column sx + (i * stepx >> 16), which is what adding stepx to a
// fraction and moving by its integer part gives.
void draw_stretched(Picture& dst, const Picture& src, StretchBox b, const DrawMode& mode) {
    if (!clip_stretched(dst, src, b)) return;
    const uint64_t stepx = (uint64_t(b.sw) << 16) / uint64_t(b.dw);
    const uint64_t stepy = (uint64_t(b.sh) << 16) / uint64_t(b.dh);
    // The last sample of a row or column lies inside the source rectangle;
    // should rounding ever say otherwise, the drawing stops at the edge.
    int64_t dw = b.dw, dh = b.dh;
    while (dw > 0 && b.sx + int64_t((uint64_t(dw - 1) * stepx) >> 16) >= src.width) --dw;
    while (dh > 0 && b.sy + int64_t((uint64_t(dh - 1) * stepy) >> 16) >= src.height) --dh;

    const DrawKernels& k = draw_kernels();
    uint8_t pixels[kChunk * 3];
    uint8_t weights[kChunk];
    const bool need_alpha = mode.weighted || mode.copy_alpha;
    // A plain copy samples straight into the destination, and a row that
    // samples the same source row as the one before is that row again.
    const bool plain = mode.colour && !mode.weighted && mode.rop == 0 && mode.opacity == 255;
    const size_t dst_stride = size_t(dst.width) * 3;
    size_t previous_srow = SIZE_MAX;
    for (int64_t j = 0; j < dh; ++j) {
        const size_t srow = size_t(b.sy) + size_t((uint64_t(j) * stepy) >> 16);
        const uint8_t* srow_pixels = src.pixels.get() + srow * src.width * 3;
        const uint8_t* srow_alpha = need_alpha ? src.alpha.get() + srow * src.width : nullptr;
        const size_t drow = size_t(b.dy + j);
        uint8_t* drow_pixels = dst.pixels.get() + drow * dst_stride + size_t(b.dx) * 3;
        if (plain && srow == previous_srow) {
            std::memcpy(drow_pixels, drow_pixels - dst_stride, size_t(dw) * 3);
            if (mode.copy_alpha) {
                uint8_t* da = dst.alpha.get() + drow * dst.width + size_t(b.dx);
                std::memcpy(da, da - dst.width, size_t(dw));
            }
            continue;
        }
        previous_srow = srow;
        for (int64_t done = 0; done < dw;) {
            const int64_t n = std::min(kChunk, dw - done);
            uint8_t* out = plain ? drow_pixels + done * 3 : pixels;
            uint64_t pos = uint64_t(done) * stepx;
            for (int64_t i = 0; i < n; ++i, pos += stepx) {
                const size_t col = size_t(b.sx) + size_t(pos >> 16);
                std::memcpy(out + i * 3, srow_pixels + col * 3, 3);
                if (need_alpha) weights[i] = srow_alpha[col];
            }
            const size_t at = drow * dst.width + size_t(b.dx + done);
            if (mode.colour && !plain) {
                colour_span(k, mode, dst.pixels.get() + at * 3, pixels, weights, size_t(n));
            }
            if (mode.copy_alpha) std::memcpy(dst.alpha.get() + at, weights, size_t(n));
            done += n;
        }
    }
}

bool overlaps(int64_t a0, int64_t a1, int64_t b0, int64_t b1) {
    return a0 < b1 && b0 < a1;
}

}  // namespace

void picture_draw(Picture* dst, int32_t dx, int32_t dy, int32_t dw, int32_t dh, const Picture* src,
                  int32_t sx, int32_t sy, int32_t sw, int32_t sh, int32_t opacity, int32_t rop,
                  int32_t flags) {
    if (!dst || !src) return;
    opacity &= 0xFF;
    if (opacity == 0) return;
    if (sx == 0 && sy == 0 && sw == 0 && sh == 0) sw = src->width, sh = src->height;
    const DrawMode mode = read_mode(*dst, *src, opacity, rop, flags);
    if (!mode.colour && !mode.copy_alpha) return;

    if ((dw != 0 || dh != 0) && (dw != sw || dh != sh)) {
        StretchBox box{dx, dy, dw, dh, sx, sy, sw, sh};
        // Sampling reads the source in no fixed order, so a picture stretched
        // onto an overlapping part of itself is sampled from a copy.
        if (dst == src && overlaps(dx, int64_t(dx) + dw, sx, int64_t(sx) + sw) &&
            overlaps(dy, int64_t(dy) + dh, sy, int64_t(sy) + sh)) {
            Picture* copy = picture_create(src->width, src->height);
            if (!copy) return;
            std::memcpy(copy->pixels.get(), src->pixels.get(), src->pixel_bytes());
            if (src->alpha) {
                copy->alpha.reset(new (std::nothrow) uint8_t[src->alpha_bytes() + 1]);
                if (!copy->alpha) return picture_free(copy);
                std::memcpy(copy->alpha.get(), src->alpha.get(), src->alpha_bytes());
            }
            draw_stretched(*dst, *copy, box, mode);
            return picture_free(copy);
        }
        return draw_stretched(*dst, *src, box, mode);
    }
    draw_one_to_one(*dst, dx, dy, *src, sx, sy, sw, sh, mode);
}

}  // namespace qln
