#include "effects/fx_glow.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "base/byte_order.h"
#include "effects/fx_rows.h"

namespace qln {
namespace {

// The part of the light's area grown by r that has a base pixel under it and
// lies inside dst, in the light's coordinates: [u0, u1) x [v0, v1).
struct GlowRegion {
    int64_t u0 = 0, u1 = 0, v0 = 0, v1 = 0;
    bool empty() const { return u1 <= u0 || v1 <= v0; }
};

GlowRegion glow_region(const Picture& dst, int64_t x, int64_t y, const Picture& light,
                       int64_t base_x, int64_t base_y, const Picture& base, int64_t r) {
    GlowRegion g;
    g.u0 = std::max({-r, base_x - x, -x});
    g.u1 = std::min({light.width + r, base_x + base.width - x, dst.width - x});
    g.v0 = std::max({-r, base_y - y, -y});
    g.v1 = std::min({light.height + r, base_y + base.height - y, dst.height - y});
    return g;
}

// Copies base to (base_x, base_y) of dst, cut at dst's edges, but for the
// region g (light at (x, y)), whose pixels the glow writes once.
void copy_base_around(Picture& dst, int64_t base_x, int64_t base_y, const Picture& base,
                      const GlowRegion& g, int64_t x, int64_t y) {
    const FxSpan cols = fx_span(base_x, base.width, dst.width);
    const FxSpan rows = fx_span(base_y, base.height, dst.height);
    if (cols.empty() || rows.empty()) return;
    const auto copy = [&](int64_t row, int64_t from, int64_t to) {
        if (to <= from) return;
        std::memcpy(fx_pixel(dst, base_x + from, base_y + row), fx_pixel(base, from, row),
                    size_t(to - from) * 3);
    };
    for (int64_t row = rows.first; row < rows.last; ++row) {
        const int64_t v = base_y + row - y;
        if (g.empty() || v < g.v0 || v >= g.v1) {
            copy(row, cols.first, cols.last);
        } else {
            copy(row, cols.first, x + g.u0 - base_x);
            copy(row, x + g.u1 - base_x, cols.last);
        }
    }
}

// Moves the column sums one row down: light row `entering` comes in and row
// `leaving` goes out (each a row's pixel bytes; a row of zeros stands for a
// row outside the light). The sums wrap on the way but end non-negative.
// Four pixels' greens come from three 32-bit words at a time: a compiler
// turns a plain loop over every third byte into gathers three times slower.
void slide_columns(uint32_t* columns, size_t n, const uint8_t* entering, const uint8_t* leaving) {
    size_t i = 0;
    for (; i + 4 <= n; i += 4, entering += 12, leaving += 12) {
        const uint32_t a0 = read_u32(entering), a1 = read_u32(entering + 4);
        const uint32_t a2 = read_u32(entering + 8);
        const uint32_t b0 = read_u32(leaving), b1 = read_u32(leaving + 4);
        const uint32_t b2 = read_u32(leaving + 8);
        columns[i] += (a0 >> 8 & 0xFF) - (b0 >> 8 & 0xFF);
        columns[i + 1] += (a1 & 0xFF) - (b1 & 0xFF);
        columns[i + 2] += (a1 >> 24) - (b1 >> 24);
        columns[i + 3] += (a2 >> 16 & 0xFF) - (b2 >> 16 & 0xFF);
    }
    for (; i < n; ++i, entering += 3, leaving += 3)
        columns[i] += uint32_t(entering[1]) - leaving[1];
}

// min(sum / n, 255) without a division per pixel: the sum is first capped at
// 255 n, and a capped sum x (below 2^b) divided by n is x * m >> k with
// k = b + ceil(log2 n) and m = ceil(2^k / n), exactly (x times the rounding
// error of m stays below 2^k). For b <= 31 the product fits 64 bits; larger
// normalisers (radii in the thousands) divide.
class GlowQuotient {
  public:
    explicit GlowQuotient(uint64_t n) : n_(n), cap_(255 * n) {
        const int bits = std::bit_width(cap_);
        if (bits <= 31) {
            shift_ = bits + std::bit_width(n - 1);
            multiplier_ = ((uint64_t(1) << shift_) + n - 1) / n;
        }
    }
    uint32_t of(uint64_t sum) const {
        const uint64_t capped = std::min(sum, cap_);
        return uint32_t(multiplier_ ? capped * multiplier_ >> shift_ : capped / n_);
    }

  private:
    uint64_t n_, cap_, multiplier_ = 0;
    int shift_ = 0;
};

// out = min(under + glow, 255) bytewise. Sixteen bytes at a time where the
// processor adds with saturation: the compiler leaves the plain loop scalar,
// and it was two thirds of the effect's time.
void add_saturated(uint8_t* out, const uint8_t* under, const uint8_t* glow, int64_t n) {
    int64_t i = 0;
#if defined(__SSE2__)
    for (; i + 16 <= n; i += 16) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(under + i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(glow + i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_adds_epu8(a, b));
    }
#endif
    for (; i < n; ++i) {
        const uint32_t lit = uint32_t(under[i]) + glow[i];
        out[i] = uint8_t(lit > 255 ? 255 : lit);
    }
}

}  // namespace

void fx_glow_draw(Picture& dst, int32_t x, int32_t y, const Picture& light, const Picture& base,
                  int32_t radius, int32_t divisor) {
    const int64_t base_x = fx_glow_base_origin(x, base.width, light.width);
    const int64_t base_y = fx_glow_base_origin(y, base.height, light.height);
    const int64_t r = radius, side = 2 * r + 1;
    const int64_t normaliser = divisor != 0 && r >= 0 && r <= 0xFFFF ? side * side / divisor : 0;
    // A base smaller than the grown area is the scenario's mistake: the
    // positions without a base pixel under them are left alone.
    GlowRegion g;
    if (normaliser > 0) g = glow_region(dst, x, y, light, base_x, base_y, base, r);
    copy_base_around(dst, base_x, base_y, base, g, x, y);
    if (g.empty()) return;

    // One block per call: the column sums, columns[i] the green bytes of light
    // column i over rows v - r .. v + r with 2r + 1 zero columns on each side
    // so that the row sum slides without a test; the row's glow, one byte per
    // colour byte and a spare byte, so that the additions run over whole rows;
    // a row of zeros.
    const int64_t lw = light.width, pad = 2 * r + 1, row_bytes = (g.u1 - g.u0) * 3;
    const size_t column_words = size_t(lw + 2 * pad);
    std::vector<uint32_t> scratch(column_words + size_t(row_bytes + 1 + lw * 3 + 3) / 4, 0);
    uint32_t* columns = scratch.data() + pad;
    uint8_t* glow = reinterpret_cast<uint8_t*>(scratch.data() + column_words);
    const uint8_t* zeros = glow + row_bytes + 1;
    const auto light_row = [&](int64_t v) {
        return v >= 0 && v < light.height ? fx_pixel(light, 0, v) : zeros;
    };
    for (int64_t v = std::max<int64_t>(g.v0 - r, 0);
         v <= std::min<int64_t>(g.v0 + r, light.height - 1); ++v) {
        slide_columns(columns, size_t(lw), light_row(v), zeros);
    }
    const GlowQuotient quotient{uint64_t(normaliser)};
    for (int64_t v = g.v0; v < g.v1; ++v) {
        uint64_t sum = 0;
        for (int64_t i = std::max<int64_t>(g.u0 - r, 0); i <= std::min(g.u0 + r, lw - 1); ++i)
            sum += columns[i];
        uint8_t* each = glow;
        for (int64_t u = g.u0; u < g.u1; ++u, each += 3) {
            // The three bytes in one store; the fourth is the next pixel's
            // (or the spare byte behind the row).
            write_u32(each, quotient.of(sum) * 0x010101u);
            sum += columns[u + r + 1];
            sum -= columns[u - r];
        }
        uint8_t* out = fx_pixel(dst, x + g.u0, y + v);
        const uint8_t* under = fx_pixel(base, x + g.u0 - base_x, y + v - base_y);
        add_saturated(out, under, glow, row_bytes);
        slide_columns(columns, size_t(lw), light_row(v + r + 1), light_row(v - r));
    }
}

}  // namespace qln
