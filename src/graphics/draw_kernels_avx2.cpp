// Drawing kernels on AVX2: 32 bytes at a time, chosen at run time. Every
// function here carries the avx2 target itself (no file-wide switch), so no
// AVX2 code can leak into shared inline functions the rest of the engine uses.
#include <immintrin.h>

#include <cstring>

#include "graphics/draw.h"
#include "graphics/draw_kernels.h"

#define QLN_AVX2 __attribute__((target("avx2")))

namespace qln {
namespace {

QLN_AVX2 inline __m256i scale_lanes(__m256i x, __m256i a) {
    const __m256i t = _mm256_add_epi16(_mm256_mullo_epi16(x, a), _mm256_set1_epi16(128));
    return _mm256_srli_epi16(_mm256_mulhi_epu16(t, _mm256_set1_epi16(static_cast<short>(0x8081))),
                             7);
}

// Unpacking and packing both work within 128-bit halves, so the bytes come
// back in their places.
QLN_AVX2 inline __m256i blend_bytes(__m256i s, __m256i d, __m256i a) {
    const __m256i zero = _mm256_setzero_si256();
    const __m256i na = _mm256_xor_si256(a, _mm256_set1_epi8(-1));
    const __m256i lo = _mm256_add_epi16(
        scale_lanes(_mm256_unpacklo_epi8(s, zero), _mm256_unpacklo_epi8(a, zero)),
        scale_lanes(_mm256_unpacklo_epi8(d, zero), _mm256_unpacklo_epi8(na, zero)));
    const __m256i hi = _mm256_add_epi16(
        scale_lanes(_mm256_unpackhi_epi8(s, zero), _mm256_unpackhi_epi8(a, zero)),
        scale_lanes(_mm256_unpackhi_epi8(d, zero), _mm256_unpackhi_epi8(na, zero)));
    return _mm256_packus_epi16(lo, hi);
}

QLN_AVX2 inline __m256i scale_bytes(__m256i x, __m256i a16) {
    const __m256i zero = _mm256_setzero_si256();
    return _mm256_packus_epi16(scale_lanes(_mm256_unpacklo_epi8(x, zero), a16),
                               scale_lanes(_mm256_unpackhi_epi8(x, zero), a16));
}

template <int R>
QLN_AVX2 inline __m256i rop_bytes(__m256i s, __m256i d) {
    if constexpr (R == 0) {
        return s;
    } else if constexpr (R == 1) {
        return _mm256_and_si256(s, d);
    } else if constexpr (R == 2) {
        return _mm256_or_si256(s, d);
    } else if constexpr (R == 3) {
        return _mm256_xor_si256(s, d);
    } else if constexpr (R == 4) {
        return _mm256_adds_epu8(s, d);
    } else {
        const __m256i zero = _mm256_setzero_si256();
        const __m256i lo = _mm256_srli_epi16(
            _mm256_mullo_epi16(_mm256_unpacklo_epi8(s, zero), _mm256_unpacklo_epi8(d, zero)), 8);
        const __m256i hi = _mm256_srli_epi16(
            _mm256_mullo_epi16(_mm256_unpackhi_epi8(s, zero), _mm256_unpackhi_epi8(d, zero)), 8);
        return _mm256_packus_epi16(lo, hi);
    }
}

template <int R>
QLN_AVX2 inline uint8_t rop_byte(uint8_t s, uint8_t d) {
    if constexpr (R == 1) return s & d;
    if constexpr (R == 2) return s | d;
    if constexpr (R == 3) return s ^ d;
    if constexpr (R == 4) return static_cast<uint8_t>(s + d > 255 ? 255 : s + d);
    if constexpr (R == 5) return static_cast<uint8_t>((s * d) >> 8);
    return s;
}

QLN_AVX2 inline __m256i load(const uint8_t* p) {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
}
QLN_AVX2 inline void store(uint8_t* p, __m256i v) {
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v);
}

QLN_AVX2 void blend(uint8_t* out, const uint8_t* s, const uint8_t* d, size_t n, uint8_t a) {
    const __m256i av = _mm256_set1_epi8(static_cast<char>(a));
    size_t i = 0;
    for (; i + 32 <= n; i += 32) store(out + i, blend_bytes(load(s + i), load(d + i), av));
    const auto& table = blend_table();
    for (; i < n; ++i) out[i] = table[a][s[i]] + table[255 - a][d[i]];
}

template <int R>
QLN_AVX2 void rop_span(uint8_t* d, const uint8_t* s, size_t n, uint8_t a) {
    const __m256i av = _mm256_set1_epi8(static_cast<char>(a));
    const auto& table = blend_table();
    size_t i = 0;
    if (a == 255) {
        for (; i + 32 <= n; i += 32) store(d + i, rop_bytes<R>(load(s + i), load(d + i)));
        for (; i < n; ++i) d[i] = rop_byte<R>(s[i], d[i]);
        return;
    }
    for (; i + 32 <= n; i += 32) {
        const __m256i dv = load(d + i);
        store(d + i, blend_bytes(rop_bytes<R>(load(s + i), dv), dv, av));
    }
    for (; i < n; ++i) d[i] = table[a][rop_byte<R>(s[i], d[i])] + table[255 - a][d[i]];
}

QLN_AVX2 void rop(uint8_t* d, const uint8_t* s, size_t n, int rop, uint8_t a) {
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

// Spreads 16 pixel weights over the 48 colour bytes they govern.
QLN_AVX2 inline void spread_weights(__m128i a, __m128i out[3]) {
    out[0] = _mm_shuffle_epi8(a, _mm_setr_epi8(0, 0, 0, 1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4, 5));
    out[1] = _mm_shuffle_epi8(a, _mm_setr_epi8(5, 5, 6, 6, 6, 7, 7, 7, 8, 8, 8, 9, 9, 9, 10, 10));
    out[2] = _mm_shuffle_epi8(
        a, _mm_setr_epi8(10, 11, 11, 11, 12, 12, 12, 13, 13, 13, 14, 14, 14, 15, 15, 15));
}

// Thirty-two pixels (96 bytes) at a time; transparent runs are skipped and
// opaque runs copied, only mixed runs blend.
template <int R>
QLN_AVX2 void weighted_span(uint8_t* d, const uint8_t* s, const uint8_t* alpha, size_t n,
                            uint8_t opacity) {
    const auto& table = blend_table();
    const __m256i op16 = _mm256_set1_epi16(opacity);
    const __m256i zero = _mm256_setzero_si256();
    const __m256i ones = _mm256_set1_epi8(-1);
    size_t i = 0;
    for (; i + 32 <= n; i += 32) {
        __m256i a = load(alpha + i);
        if (opacity != 255) a = scale_bytes(a, op16);
        if (_mm256_movemask_epi8(_mm256_cmpeq_epi8(a, zero)) == -1) continue;
        uint8_t* dp = d + i * 3;
        const uint8_t* sp = s + i * 3;
        if (_mm256_movemask_epi8(_mm256_cmpeq_epi8(a, ones)) == -1) {
            if constexpr (R == 0) {
                std::memcpy(dp, sp, 96);
            } else {
                for (int k = 0; k < 3; ++k)
                    store(dp + 32 * k, rop_bytes<R>(load(sp + 32 * k), load(dp + 32 * k)));
            }
            continue;
        }
        __m128i w[6];
        spread_weights(_mm256_castsi256_si128(a), w);
        spread_weights(_mm256_extracti128_si256(a, 1), w + 3);
        for (int k = 0; k < 3; ++k) {
            const __m256i wk = _mm256_set_m128i(w[2 * k + 1], w[2 * k]);
            const __m256i dv = load(dp + 32 * k);
            store(dp + 32 * k, blend_bytes(rop_bytes<R>(load(sp + 32 * k), dv), dv, wk));
        }
    }
    for (; i < n; ++i) {
        const uint8_t a = table[opacity][alpha[i]];
        if (a == 0) continue;
        for (size_t c = i * 3; c < i * 3 + 3; ++c) {
            d[c] = table[a][rop_byte<R>(s[c], d[c])] + table[255 - a][d[c]];
        }
    }
}

QLN_AVX2 void weighted(uint8_t* d, const uint8_t* s, const uint8_t* alpha, size_t n, int rop,
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

const DrawKernels* draw_kernels_avx2() {
    static const DrawKernels kernels{blend, rop, weighted};
    static const bool supported = __builtin_cpu_supports("avx2");
    return supported ? &kernels : nullptr;
}

}  // namespace qln
