// The mosaic, wave, jitter, pattern and dissolve effects over a whole
// screen, 640 x 480 and 1920 x 1080, beside a plain copy of the same area
// one row at a time (the least any effect that shows the picture must do).

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <random>

#include "bench_pictures.h"
#include "effects/fx_dissolve.h"
#include "effects/fx_mosaic.h"
#include "effects/fx_pattern.h"
#include "effects/fx_row_shift.h"
#include "engine/random_state.h"
#include "graphics/picture.h"

namespace {

using qln::Picture;

using qln::PicturePtr;
using qln::bench::noise_picture;

// Tiles of 16 x 16: all black, all white, black and white at random.
PicturePtr pattern_picture() {
    PicturePtr p = noise_picture(16, 48, 7);
    for (size_t i = 0; i < p->pixel_bytes(); i += 3) {
        const size_t row = i / 3 / 16;
        p->pixels[i] = row < 16 ? 0 : row < 32 ? 255 : p->pixels[i] < 128 ? 0 : 255;
    }
    return p;
}

struct Screen {
    PicturePtr src, dst;
    explicit Screen(const benchmark::State& state)
        : src(noise_picture(state.range(0), state.range(1), 1)),
          dst(noise_picture(state.range(0), state.range(1), 2)) {}
};

void finish(benchmark::State& state) {
    state.SetItemsProcessed(state.iterations() * state.range(0) * state.range(1));
}

void BM_RowCopyReference(benchmark::State& state) {
    Screen s(state);
    const size_t row = size_t(s.src->width) * 3;
    for (auto _ : state) {
        for (int y = 0; y < s.src->height; ++y)
            std::memcpy(s.dst->pixels.get() + y * row, s.src->pixels.get() + y * row, row);
        benchmark::ClobberMemory();
    }
    finish(state);
}

void BM_Mosaic(benchmark::State& state) {
    Screen s(state);
    const int32_t block = int32_t(state.range(2));
    for (auto _ : state) {
        qln::fx_mosaic(*s.dst, 0, 0, *s.src, block, block);
        benchmark::ClobberMemory();
    }
    finish(state);
}

void BM_Wave(benchmark::State& state) {
    Screen s(state);
    int16_t sine[1024];
    for (int i = 0; i < 1024; ++i)
        sine[i] = int16_t(std::trunc(10000.0 * std::sin(M_PI * i / 512)));
    const qln::RowFill fill{state.range(2) != 0};
    uint16_t phase = 0;
    for (auto _ : state) {
        qln::fx_wave(*s.dst, 0, 0, *s.src, sine, phase += 8, 3, 40, fill);
        benchmark::ClobberMemory();
    }
    finish(state);
}

void BM_Jitter(benchmark::State& state) {
    Screen s(state);
    qln::Random random;
    for (auto _ : state) {
        qln::fx_jitter(*s.dst, 0, 0, *s.src, 16, random);
        benchmark::ClobberMemory();
    }
    finish(state);
}

void BM_Pattern(benchmark::State& state) {
    Screen s(state);
    PicturePtr pattern = pattern_picture();
    for (auto _ : state) {
        qln::fx_pattern(*s.dst, 0, 0, *s.src, *pattern, uint16_t(state.range(2)));
        benchmark::ClobberMemory();
    }
    finish(state);
}

// Every pass of a dissolve without its waits: what the passes draw in all.
void BM_DissolveAllPasses(benchmark::State& state) {
    Screen s(state);
    const uint16_t mode = uint16_t(state.range(2));
    qln::Random random;
    for (auto _ : state) {
        const int32_t passes = qln::fx_dissolve_passes(*s.src, mode);
        for (int32_t pass = 0; pass < passes; ++pass)
            qln::fx_dissolve_pass(*s.dst, 0, 0, *s.src, mode, 64, pass, random);
        benchmark::ClobberMemory();
    }
    finish(state);
}

void sizes(benchmark::internal::Benchmark* b, std::initializer_list<int64_t> thirds) {
    for (const int64_t third : thirds) {
        b->Args({640, 480, third});
        b->Args({1920, 1080, third});
    }
    b->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_RowCopyReference)->Apply([](auto* b) { sizes(b, {0}); });
BENCHMARK(BM_Mosaic)->Apply([](auto* b) { sizes(b, {1, 2, 8}); });
BENCHMARK(BM_Wave)->Apply([](auto* b) { sizes(b, {0, 1}); });
BENCHMARK(BM_Jitter)->Apply([](auto* b) { sizes(b, {0}); });
BENCHMARK(BM_Pattern)->Apply([](auto* b) { sizes(b, {0, 1, 2}); });
BENCHMARK(BM_DissolveAllPasses)->Apply([](auto* b) { sizes(b, {0, 1, 2}); });

}  // namespace
