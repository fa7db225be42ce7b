// The block spread, zoom, glow and scaled copy on 640 x 480 and 1920 x 1080,
// each beside a plain row copy (memcpy per row) of the same area, and the
// zoom and scaled copy beside picture_draw's stretch of the same sizes. The
// glow runs at radius 1, 8 and 64: its cost per pixel does not grow with r.
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <random>

#include "bench_pictures.h"
#include "effects/fx_glow.h"
#include "effects/fx_scale.h"
#include "effects/fx_scatter.h"
#include "effects/fx_zoom.h"
#include "graphics/draw.h"

namespace {

using qln::Picture;

using qln::PicturePtr;
using qln::bench::noise_picture;

void row_copy(Picture& dst, const Picture& src) {
    for (int y = 0; y < src.height; ++y) {
        std::memcpy(dst.pixels.get() + size_t(y) * dst.width * 3,
                    src.pixels.get() + size_t(y) * src.width * 3, size_t(src.width) * 3);
    }
}

// Runs body over a window picture and a source of the benchmark's size.
template <typename Body>
void run(benchmark::State& state, Body body) {
    const int64_t w = state.range(0), h = state.range(1);
    PicturePtr dst = noise_picture(w, h, 1), src = noise_picture(w, h, 2);
    for (auto _ : state) {
        body(*dst, *src);
        benchmark::DoNotOptimize(dst->pixels[0]);
        benchmark::ClobberMemory();
    }
    state.counters["Mpix/s"] =
        benchmark::Counter(double(w * h) * state.iterations() / 1e6, benchmark::Counter::kIsRate);
}

#define FX_BENCH(name, body)                                         \
    void name(benchmark::State& state) {                             \
        run(state, [&](Picture& dst, const Picture& src) { body; }); \
    }                                                                \
    BENCHMARK(name)->Args({640, 480})->Args({1920, 1080})->Unit(benchmark::kMillisecond)

constexpr qln::FxFill kFill{1, 2, 3};

FX_BENCH(BM_FxB_RowCopy_Reference, row_copy(dst, src));
FX_BENCH(BM_FxScatter_150_Block16,
         qln::fx_scatter_draw(dst, 0, 0, src, dst.width, dst.height, 150, 16, kFill));
FX_BENCH(BM_FxScatter_80_Block4,
         qln::fx_scatter_draw(dst, 0, 0, src, dst.width, dst.height, 80, 4, kFill));
FX_BENCH(BM_FxZoom_50, qln::fx_zoom_draw(dst, 0, 0, src, 50, kFill));
FX_BENCH(BM_FxZoom_50_Stretch_Reference,
         qln::picture_draw(&dst, dst.width / 4, dst.height / 4, dst.width / 2, dst.height / 2, &src,
                           0, 0, 0, 0, 255, 0, 0));
FX_BENCH(BM_FxZoom_200, qln::fx_zoom_draw(dst, 0, 0, src, 200, kFill));
FX_BENCH(BM_FxZoom_200_Stretch_Reference,
         qln::picture_draw(&dst, 0, 0, dst.width, dst.height, &src, src.width / 4, src.height / 4,
                           src.width / 2, src.height / 2, 255, 0, 0));
FX_BENCH(BM_FxScale_50, qln::fx_scale_draw(dst, 0, 0, src, 50));
FX_BENCH(BM_FxScale_50_Stretch_Reference,
         qln::picture_draw(&dst, 0, 0, dst.width / 2, dst.height / 2, &src, 0, 0, 0, 0, 255, 0, 0));
FX_BENCH(BM_FxScale_150, qln::fx_scale_draw(dst, 0, 0, src, 150));
FX_BENCH(BM_FxScale_150_Stretch_Reference,
         qln::picture_draw(&dst, 0, 0, src.width * 3 / 2, src.height * 3 / 2, &src, 0, 0, 0, 0, 255,
                           0, 0));

// The light is 2r smaller than the base and the window, so the grown area
// covers the whole window.
void BM_FxGlow(benchmark::State& state) {
    const int64_t w = state.range(0), h = state.range(1), r = state.range(2);
    PicturePtr dst = noise_picture(w, h, 1), base = noise_picture(w, h, 2);
    PicturePtr light = noise_picture(w - 2 * r, h - 2 * r, 3);
    for (auto _ : state) {
        qln::fx_glow_draw(*dst, int32_t(r), int32_t(r), *light, *base, int32_t(r), 1);
        benchmark::DoNotOptimize(dst->pixels[0]);
        benchmark::ClobberMemory();
    }
    state.counters["Mpix/s"] =
        benchmark::Counter(double(w * h) * state.iterations() / 1e6, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_FxGlow)
    ->ArgsProduct({{640}, {480}, {1, 8, 64}})
    ->ArgsProduct({{1920}, {1080}, {1, 8, 64}})
    ->Unit(benchmark::kMillisecond);

}  // namespace
