// A full-screen update of 640 x 480 with three windows over window 0 (one
// with an alpha plane, one at opacity 128, one plain), 24-bit and 8-bit
// output, each beside a plain per-pixel loop that computes the same bytes.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "engine/engine.h"
#include "screen/screen.h"
#include "windows/window.h"

namespace {

constexpr int kW = 640, kH = 480;

void fill_pattern(qln::Picture& p, uint32_t seed) {
    uint32_t v = seed;
    for (size_t i = 0; i < p.pixel_bytes(); ++i) {
        v = v * 1103515245u + 12345u;
        p.pixels[i] = uint8_t(v >> 16);
    }
}

bool setup(qln::Engine& engine, int bpp) {
    if (!qln::screen_init(engine)) return false;
    qln::display_setup(engine, bpp, 1920, 1080);
    fill_pattern(*engine.windows.records[0].picture, 1);
    struct Layer {
        int n, w, h, x, y;
    } layers[] = {{1, 400, 300, 20, 30}, {2, 300, 200, 200, 150}, {3, 200, 150, 400, 300}};
    for (const Layer& s : layers) {
        qln::Window templ;
        templ.px = s.x;
        templ.py = s.y;
        if (!qln::win_open(engine, s.n, s.w, s.h, templ)) return false;
        fill_pattern(*engine.windows.records[size_t(s.n)].picture, uint32_t(s.n) * 77);
        if (!qln::win_show(engine, s.n, true)) return false;
    }
    qln::Picture& with_alpha = *engine.windows.records[1].picture;
    with_alpha.alpha.reset(new uint8_t[with_alpha.alpha_bytes()]);
    for (size_t i = 0; i < with_alpha.alpha_bytes(); ++i) with_alpha.alpha[i] = uint8_t(i * 7);
    engine.windows.records[2].transp = 128;
    return true;
}

void BM_ScreenUpdateFull24(benchmark::State& state) {
    qln::Engine engine;
    if (!setup(engine, 24)) return state.SkipWithError("set-up failed");
    for (auto _ : state) {
        qln::mark_dirty(engine, nullptr);
        qln::screen_update(engine);
        benchmark::DoNotOptimize(engine.shared.display.pixels.data());
    }
}
BENCHMARK(BM_ScreenUpdateFull24)->Unit(benchmark::kMillisecond);

void BM_ScreenUpdateFull8(benchmark::State& state) {
    qln::Engine engine;
    if (!setup(engine, 8)) return state.SkipWithError("set-up failed");
    for (auto _ : state) {
        qln::mark_dirty(engine, nullptr);
        qln::screen_update(engine);
        benchmark::DoNotOptimize(engine.shared.display.pixels.data());
    }
}
BENCHMARK(BM_ScreenUpdateFull8)->Unit(benchmark::kMillisecond);

// The reference: the same composition and conversion, pixel by pixel with the
// rounding formula written out.
uint8_t mix(int a, int s, int d) {
    return uint8_t((a * s + 128) / 255 + ((255 - a) * d + 128) / 255);
}

void reference_compose(qln::Engine& engine, std::vector<uint8_t>& screen) {
    for (int32_t k = 0; k >= 0; k = engine.windows.records[size_t(k)].next) {
        const qln::Window& w = engine.windows.records[size_t(k)];
        const qln::Picture& p = *w.picture;
        for (int y = 0; y < p.height; ++y) {
            for (int x = 0; x < p.width; ++x) {
                const int a0 = p.alpha ? p.alpha[size_t(y) * p.width + x] : 255;
                const int a = (w.transp * a0 + 128) / 255;
                uint8_t* d = &screen[(size_t(w.py + y) * kW + size_t(w.px + x)) * 3];
                const uint8_t* s = &p.pixels[(size_t(y) * p.width + x) * 3];
                for (int c = 0; c < 3; ++c) d[c] = mix(a, s[c], d[c]);
            }
        }
    }
}

void BM_ReferenceFull24(benchmark::State& state) {
    qln::Engine engine;
    if (!setup(engine, 24)) return state.SkipWithError("set-up failed");
    std::vector<uint8_t> screen(size_t(kW) * kH * 3), bitmap(size_t(kW) * kH * 3);
    for (auto _ : state) {
        reference_compose(engine, screen);
        for (int y = 0; y < kH; ++y) {
            std::memcpy(&bitmap[size_t(kH - 1 - y) * kW * 3], &screen[size_t(y) * kW * 3], kW * 3);
        }
        benchmark::DoNotOptimize(bitmap.data());
    }
}
BENCHMARK(BM_ReferenceFull24)->Unit(benchmark::kMillisecond);

// The plain dither formula over a whole 640 x 480 screen, beside the
// table-driven conversion of BM_ScreenUpdateDitherOnly8 (window 0 only).
void BM_ReferenceDither8(benchmark::State& state) {
    static const int m[4][4] = {
        {0, 27, 7, 33}, {40, 13, 47, 20}, {10, 37, 3, 30}, {50, 23, 43, 17}};
    std::vector<uint8_t> screen(size_t(kW) * kH * 3), bitmap(size_t(kW) * kH);
    for (size_t i = 0; i < screen.size(); ++i) screen[i] = uint8_t(i * 13);
    for (auto _ : state) {
        for (int y = 0; y < kH; ++y) {
            const uint8_t* s = &screen[size_t(y) * kW * 3];
            uint8_t* d = &bitmap[size_t(kH - 1 - y) * kW];
            for (int x = 0; x < kW; ++x, s += 3) {
                const int dv = m[y & 3][x & 3];
                d[x] = uint8_t(10 + 36 * ((s[2] + dv) / 51) + 6 * ((s[1] + dv) / 51) +
                               (s[0] + dv) / 51);
            }
        }
        benchmark::DoNotOptimize(bitmap.data());
    }
}
BENCHMARK(BM_ReferenceDither8)->Unit(benchmark::kMillisecond);

// Only window 0 (one opaque copy) so the 8-bit update is mostly conversion.
void BM_ScreenUpdateDitherOnly8(benchmark::State& state) {
    qln::Engine engine;
    if (!qln::screen_init(engine)) return state.SkipWithError("set-up failed");
    qln::display_setup(engine, 8, 1920, 1080);
    fill_pattern(*engine.windows.records[0].picture, 1);
    for (auto _ : state) {
        qln::mark_dirty(engine, nullptr);
        qln::screen_update(engine);
        benchmark::DoNotOptimize(engine.shared.display.pixels.data());
    }
}
BENCHMARK(BM_ScreenUpdateDitherOnly8)->Unit(benchmark::kMillisecond);

void BM_ScreenUpdateCopyOnly24(benchmark::State& state) {
    qln::Engine engine;
    if (!qln::screen_init(engine)) return state.SkipWithError("set-up failed");
    fill_pattern(*engine.windows.records[0].picture, 1);
    for (auto _ : state) {
        qln::mark_dirty(engine, nullptr);
        qln::screen_update(engine);
        benchmark::DoNotOptimize(engine.shared.display.pixels.data());
    }
}
BENCHMARK(BM_ScreenUpdateCopyOnly24)->Unit(benchmark::kMillisecond);

}  // namespace
