// Drawing speed in megapixels per second on a 640 x 480 destination, each
// path beside the plain per-pixel loop written from the drawing rules (with
// the blend table, as the simplest exact implementation would use it).
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <random>

#include "graphics/draw.h"

namespace {

using qln::Picture;

constexpr int kW = 640, kH = 480;

struct Freer {
    void operator()(Picture* p) const { qln::picture_free(p); }
};
using PicturePtr = std::unique_ptr<Picture, Freer>;

// Random colour; alpha in sprite-like runs of 0, 255 and in-between values.
PicturePtr make_picture(int w, int h, uint32_t seed, bool alpha) {
    PicturePtr p(qln::picture_create(uint16_t(w), uint16_t(h)));
    std::mt19937 rng(seed);
    for (size_t i = 0; i < p->pixel_bytes(); ++i) p->pixels[i] = uint8_t(rng());
    if (alpha) {
        p->alpha.reset(new uint8_t[p->alpha_bytes()]);
        for (size_t i = 0; i < p->alpha_bytes();) {
            const size_t run = 8 + rng() % 120;
            const uint32_t kind = rng() % 3;
            for (size_t k = 0; k < run && i < p->alpha_bytes(); ++k, ++i)
                p->alpha[i] = kind == 0 ? 0 : kind == 1 ? 255 : uint8_t(rng());
        }
    }
    return p;
}

// The plain loops, one pixel at a time.
void reference_blend(Picture& d, const Picture& s, int a) {
    const auto& t = qln::blend_table();
    for (size_t i = 0; i < d.pixel_bytes(); ++i)
        d.pixels[i] = t[a][s.pixels[i]] + t[255 - a][d.pixels[i]];
}
void reference_copy(Picture& d, const Picture& s) {
    for (size_t i = 0; i < d.pixel_bytes(); ++i) d.pixels[i] = s.pixels[i];
}
void reference_weighted(Picture& d, const Picture& s) {
    const auto& t = qln::blend_table();
    for (size_t p = 0; p < d.alpha_bytes(); ++p) {
        const int a = s.alpha[p];
        if (a == 0) continue;
        for (size_t c = p * 3; c < p * 3 + 3; ++c)
            d.pixels[c] = a == 255 ? s.pixels[c] : t[a][s.pixels[c]] + t[255 - a][d.pixels[c]];
    }
}
void reference_rop4(Picture& d, const Picture& s) {
    for (size_t i = 0; i < d.pixel_bytes(); ++i) {
        const int v = s.pixels[i] + d.pixels[i];
        d.pixels[i] = uint8_t(v > 255 ? 255 : v);
    }
}
void reference_stretch(Picture& d, const Picture& s) {
    const uint32_t stepx = (uint32_t(s.width) << 16) / d.width;
    const uint32_t stepy = (uint32_t(s.height) << 16) / d.height;
    uint32_t fy = 0;
    const uint8_t* row = s.pixels.get();
    for (int y = 0; y < d.height; ++y) {
        const uint8_t* sp = row;
        uint32_t fx = 0;
        uint8_t* dp = d.pixels.get() + size_t(y) * d.width * 3;
        for (int x = 0; x < d.width; ++x) {
            dp[x * 3] = sp[0], dp[x * 3 + 1] = sp[1], dp[x * 3 + 2] = sp[2];
            fx += stepx;
            sp += (fx >> 16) * 3;
            fx &= 0xFFFF;
        }
        fy += stepy;
        row += (fy >> 16) * s.width * 3;
        fy &= 0xFFFF;
    }
}

void count(benchmark::State& state) {
    state.counters["Mpix/s"] =
        benchmark::Counter(double(kW) * kH * state.iterations() / 1e6, benchmark::Counter::kIsRate);
}

struct Pair {
    PicturePtr dst = make_picture(kW, kH, 1, false);
    PicturePtr src = make_picture(kW, kH, 2, true);
    PicturePtr half = make_picture(kW / 2, kH / 2, 3, false);
    PicturePtr other = make_picture(kW, kH, 4, false);
};

#define DRAW_BENCH(name, body)                          \
    void name(benchmark::State& state) {                \
        Pair p;                                         \
        for (auto _ : state) {                          \
            body;                                       \
            benchmark::DoNotOptimize(p.dst->pixels[0]); \
            benchmark::ClobberMemory();                 \
        }                                               \
        count(state);                                   \
    }                                                   \
    BENCHMARK(name)

DRAW_BENCH(BM_Copy, qln::picture_draw(p.dst.get(), 0, 0, 0, 0, p.src.get(), 0, 0, 0, 0, 255, 0, 0));
DRAW_BENCH(BM_Copy_Reference, reference_copy(*p.dst, *p.src));
DRAW_BENCH(BM_Opacity128,
           qln::picture_draw(p.dst.get(), 0, 0, 0, 0, p.src.get(), 0, 0, 0, 0, 128, 0, 0));
DRAW_BENCH(BM_Opacity128_Reference, reference_blend(*p.dst, *p.src, 128));
DRAW_BENCH(BM_AlphaWeighted,
           qln::picture_draw(p.dst.get(), 0, 0, 0, 0, p.src.get(), 0, 0, 0, 0, 255, 0, 1));
DRAW_BENCH(BM_AlphaWeighted_Reference, reference_weighted(*p.dst, *p.src));
DRAW_BENCH(BM_Rop4, qln::picture_draw(p.dst.get(), 0, 0, 0, 0, p.src.get(), 0, 0, 0, 0, 255, 4, 0));
DRAW_BENCH(BM_Rop4_Reference, reference_rop4(*p.dst, *p.src));
DRAW_BENCH(BM_Stretch2x,
           qln::picture_draw(p.dst.get(), 0, 0, kW, kH, p.half.get(), 0, 0, 0, 0, 255, 0, 0));
DRAW_BENCH(BM_Stretch2x_Reference, reference_stretch(*p.dst, *p.half));
DRAW_BENCH(BM_Crossfade,
           qln::picture_crossfade(p.dst.get(), 0, 0, p.other.get(), p.src.get(), 100));
DRAW_BENCH(BM_Crossfade_Reference, reference_blend(*p.dst, *p.src, 100));  // same loop, from dst

}  // namespace
