// Drawing kernels on SSE2, which every x86-64 processor has: 16 bytes at a
// time in 16-bit lanes, the remainder through the blend table.
#include <emmintrin.h>

#include <cstring>

#include "graphics/draw.h"
#include "graphics/draw_kernels.h"

namespace qln {
namespace {

// floor((a * x + 128) / 255) per 16-bit lane, a and x at most 255.
inline __m128i scale_lanes(__m128i x, __m128i a) {
    const __m128i t = _mm_add_epi16(_mm_mullo_epi16(x, a), _mm_set1_epi16(128));
    return _mm_srli_epi16(_mm_mulhi_epu16(t, _mm_set1_epi16(static_cast<short>(0x8081))), 7);
}

// table[a][s] + table[255 - a][d] per byte; the sum never passes 255.
inline __m128i blend_bytes(__m128i s, __m128i d, __m128i a) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i na = _mm_xor_si128(a, _mm_set1_epi8(-1));
    const __m128i lo =
        _mm_add_epi16(scale_lanes(_mm_unpacklo_epi8(s, zero), _mm_unpacklo_epi8(a, zero)),
                      scale_lanes(_mm_unpacklo_epi8(d, zero), _mm_unpacklo_epi8(na, zero)));
    const __m128i hi =
        _mm_add_epi16(scale_lanes(_mm_unpackhi_epi8(s, zero), _mm_unpackhi_epi8(a, zero)),
                      scale_lanes(_mm_unpackhi_epi8(d, zero), _mm_unpackhi_epi8(na, zero)));
    return _mm_packus_epi16(lo, hi);
}

// table[a][x] per byte.
inline __m128i scale_bytes(__m128i x, __m128i a16) {
    const __m128i zero = _mm_setzero_si128();
    return _mm_packus_epi16(scale_lanes(_mm_unpacklo_epi8(x, zero), a16),
                            scale_lanes(_mm_unpackhi_epi8(x, zero), a16));
}

template <int R>
inline __m128i rop_bytes(__m128i s, __m128i d) {
    if constexpr (R == 0) {
        return s;
    } else if constexpr (R == 1) {
        return _mm_and_si128(s, d);
    } else if constexpr (R == 2) {
        return _mm_or_si128(s, d);
    } else if constexpr (R == 3) {
        return _mm_xor_si128(s, d);
    } else if constexpr (R == 4) {
        return _mm_adds_epu8(s, d);
    } else {
        const __m128i zero = _mm_setzero_si128();
        const __m128i lo = _mm_srli_epi16(
            _mm_mullo_epi16(_mm_unpacklo_epi8(s, zero), _mm_unpacklo_epi8(d, zero)), 8);
        const __m128i hi = _mm_srli_epi16(
            _mm_mullo_epi16(_mm_unpackhi_epi8(s, zero), _mm_unpackhi_epi8(d, zero)), 8);
        return _mm_packus_epi16(lo, hi);
    }
}

template <int R>
inline uint8_t rop_byte(uint8_t s, uint8_t d) {
    if constexpr (R == 0) return s;
    if constexpr (R == 1) return s & d;
    if constexpr (R == 2) return s | d;
    if constexpr (R == 3) return s ^ d;
    if constexpr (R == 4) return static_cast<uint8_t>(s + d > 255 ? 255 : s + d);
    if constexpr (R == 5) return static_cast<uint8_t>((s * d) >> 8);
    return s;
}

inline __m128i load(const uint8_t* p) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}
inline void store(uint8_t* p, __m128i v) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v);
}

void blend(uint8_t* out, const uint8_t* s, const uint8_t* d, size_t n, uint8_t a) {
    const __m128i av = _mm_set1_epi8(static_cast<char>(a));
    size_t i = 0;
    for (; i + 16 <= n; i += 16) store(out + i, blend_bytes(load(s + i), load(d + i), av));
    const auto& table = blend_table();
    for (; i < n; ++i) out[i] = table[a][s[i]] + table[255 - a][d[i]];
}

template <int R>
void rop_span(uint8_t* d, const uint8_t* s, size_t n, uint8_t a) {
    const __m128i av = _mm_set1_epi8(static_cast<char>(a));
    const auto& table = blend_table();
    size_t i = 0;
    if (a == 255) {
        for (; i + 16 <= n; i += 16) store(d + i, rop_bytes<R>(load(s + i), load(d + i)));
        for (; i < n; ++i) d[i] = rop_byte<R>(s[i], d[i]);
        return;
    }
    for (; i + 16 <= n; i += 16) {
        const __m128i dv = load(d + i);
        store(d + i, blend_bytes(rop_bytes<R>(load(s + i), dv), dv, av));
    }
    for (; i < n; ++i) d[i] = table[a][rop_byte<R>(s[i], d[i])] + table[255 - a][d[i]];
}

void rop(uint8_t* d, const uint8_t* s, size_t n, int rop, uint8_t a) {
    switch (rop) {
        case 1:
            return rop_span<1>(d, s, n, a);
        case 2:
            return rop_span<2>(d, s, n, a);
        case 3:
            return rop_span<3>(d, s, n, a);
        case 4:
            return rop_span<4>(d, s, n, a);
        case 5:
            return rop_span<5>(d, s, n, a);
        default:
            return rop_span<0>(d, s, n, a);
    }
}

// Sixteen pixels at a time: runs of transparent pixels are skipped and runs of
// opaque ones copied, which is most of a sprite; only mixed runs blend.
template <int R>
void weighted_span(uint8_t* d, const uint8_t* s, const uint8_t* alpha, size_t n, uint8_t opacity) {
    const auto& table = blend_table();
    const __m128i op16 = _mm_set1_epi16(opacity);
    const __m128i zero = _mm_setzero_si128();
    const __m128i ones = _mm_set1_epi8(-1);
    alignas(16) uint8_t weights[16];
    alignas(16) uint8_t spread[48];
    size_t i = 0;
    for (; i + 16 <= n; i += 16) {
        __m128i a = load(alpha + i);
        if (opacity != 255) a = scale_bytes(a, op16);
        if (_mm_movemask_epi8(_mm_cmpeq_epi8(a, zero)) == 0xFFFF) continue;
        uint8_t* dp = d + i * 3;
        const uint8_t* sp = s + i * 3;
        if (_mm_movemask_epi8(_mm_cmpeq_epi8(a, ones)) == 0xFFFF) {
            if constexpr (R == 0) {
                std::memcpy(dp, sp, 48);
            } else {
                for (int k = 0; k < 3; ++k)
                    store(dp + 16 * k, rop_bytes<R>(load(sp + 16 * k), load(dp + 16 * k)));
            }
            continue;
        }
        store(weights, a);
        for (int k = 0; k < 16; ++k) {
            spread[3 * k] = spread[3 * k + 1] = spread[3 * k + 2] = weights[k];
        }
        for (int k = 0; k < 3; ++k) {
            const __m128i dv = load(dp + 16 * k);
            store(dp + 16 * k,
                  blend_bytes(rop_bytes<R>(load(sp + 16 * k), dv), dv, load(spread + 16 * k)));
        }
    }
    for (; i < n; ++i) {
        const uint8_t a = table[opacity][alpha[i]];
        for (size_t c = i * 3; c < i * 3 + 3; ++c) {
            d[c] = table[a][rop_byte<R>(s[c], d[c])] + table[255 - a][d[c]];
        }
    }
}

void weighted(uint8_t* d, const uint8_t* s, const uint8_t* alpha, size_t n, int rop,
              uint8_t opacity) {
    switch (rop) {
        case 1:
            return weighted_span<1>(d, s, alpha, n, opacity);
        case 2:
            return weighted_span<2>(d, s, alpha, n, opacity);
        case 3:
            return weighted_span<3>(d, s, alpha, n, opacity);
        case 4:
            return weighted_span<4>(d, s, alpha, n, opacity);
        case 5:
            return weighted_span<5>(d, s, alpha, n, opacity);
        default:
            return weighted_span<0>(d, s, alpha, n, opacity);
    }
}

}  // namespace

const DrawKernels& draw_kernels_sse2() {
    static const DrawKernels kernels{blend, rop, weighted};
    return kernels;
}

}  // namespace qln
