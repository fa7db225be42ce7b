// Fills, invert, cross-fade and the packed bitmap. Callers are meant to pass
// rectangles inside the picture; each is clipped anyway, so a wrong one writes
// nothing outside it.
#include <algorithm>
#include <cstring>

#include "base/rect.h"
#include "graphics/draw.h"
#include "graphics/draw_kernels.h"

namespace qln {
namespace {

// The rectangle's part inside a picture of width x height, computed in 64 bits
// so that no x + w can wrap.
Rect clip_to(int64_t x, int64_t y, int64_t w, int64_t h, int64_t width, int64_t height) {
    const int64_t left = std::max<int64_t>(x, 0), top = std::max<int64_t>(y, 0);
    const int64_t right = std::min(x + w, width), bottom = std::min(y + h, height);
    if (right <= left || bottom <= top) return Rect{};
    return Rect{int32_t(left), int32_t(top), int32_t(right), int32_t(bottom)};
}

void put_le(std::vector<uint8_t>& out, size_t at, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

}  // namespace

void picture_fill(Picture* p, int32_t x, int32_t y, int32_t w, int32_t h, uint8_t r, uint8_t g,
                  uint8_t b, int32_t alpha) {
    if (!p) return;
    const Rect box = clip_to(x, y, w, h, p->width, p->height);
    if (box.empty()) return;
    const size_t n = size_t(box.width());
    uint8_t* first = p->pixels.get() + (size_t(box.top) * p->width + box.left) * 3;
    for (size_t i = 0; i < n; ++i) first[i * 3] = b, first[i * 3 + 1] = g, first[i * 3 + 2] = r;
    // Later rows copy the first one.
    for (int32_t row = box.top + 1; row < box.bottom; ++row) {
        std::memcpy(p->pixels.get() + (size_t(row) * p->width + box.left) * 3, first, n * 3);
    }
    if (alpha >= 0 && p->alpha) {
        for (int32_t row = box.top; row < box.bottom; ++row) {
            std::memset(p->alpha.get() + size_t(row) * p->width + box.left,
                        static_cast<uint8_t>(alpha), n);
        }
    }
}

void picture_invert(Picture* p, int32_t x, int32_t y, int32_t w, int32_t h, uint8_t b, uint8_t g,
                    uint8_t r) {
    if (!p) return;
    const Rect box = clip_to(x, y, w, h, p->width, p->height);
    if (box.empty()) return;
    const uint8_t mask[3] = {b, g, r};
    for (int32_t row = box.top; row < box.bottom; ++row) {
        uint8_t* d = p->pixels.get() + (size_t(row) * p->width + box.left) * 3;
        for (size_t i = 0; i < size_t(box.width()) * 3; ++i) d[i] ^= mask[i % 3];
    }
}

void picture_crossfade(Picture* dst, int32_t x, int32_t y, const Picture* from, const Picture* to,
                       int32_t level) {
    if (!dst || !from || !to) return;
    // The two pictures should be of one size; only their common part is used.
    const int64_t w = std::min(from->width, to->width), h = std::min(from->height, to->height);
    const Rect box = clip_to(x, y, w, h, dst->width, dst->height);
    if (box.empty()) return;
    const uint8_t a = static_cast<uint8_t>(level);
    const DrawKernels& k = draw_kernels();
    const size_t n = size_t(box.width()) * 3;
    for (int32_t row = box.top; row < box.bottom; ++row) {
        const size_t fx = size_t(box.left - x), fy = size_t(row - y);
        uint8_t* d = dst->pixels.get() + (size_t(row) * dst->width + box.left) * 3;
        const uint8_t* f = from->pixels.get() + (fy * from->width + fx) * 3;
        const uint8_t* t = to->pixels.get() + (fy * to->width + fx) * 3;
        k.blend(d, t, f, n, a);
    }
}

std::vector<uint8_t> picture_to_packed_dib(const Picture& p) {
    const size_t row_bytes = size_t(p.width) * 3;
    const size_t stride = (row_bytes + 3) & ~size_t(3);
    std::vector<uint8_t> out(40 + stride * p.height, 0);
    put_le(out, 0, 40, 4);
    put_le(out, 4, p.width, 4);
    put_le(out, 8, p.height, 4);  // positive: rows bottom-up
    put_le(out, 12, 1, 2);
    put_le(out, 14, 24, 2);
    for (size_t y = 0; y < p.height; ++y) {
        std::memcpy(out.data() + 40 + (p.height - 1 - y) * stride, p.pixels.get() + y * row_bytes,
                    row_bytes);
    }
    return out;
}

}  // namespace qln
