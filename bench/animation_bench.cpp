// The animation scheduler in the poll step: its cost when no frame change is
// due (every poll step pays it while animations run), beside a plain loop
// that compares a due time for each of 64 records, and a tick at which all
// 64 change frame and draw a 16 x 16 cell.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <iterator>
#include <vector>

#include "animation/animation.h"
#include "engine/engine.h"
#include "graphics/picture.h"
#include "platform/null/null_platform.h"
#include "screen/screen.h"
#include "tables/tables.h"
#include "windows/window.h"

namespace {

constexpr uint16_t kAnimations = 64;

// Two frames of duration_10ms each, cells 16 x 16 of a 32 x 16 sheet.
bool set_up(qln::Engine& engine, uint16_t duration_10ms) {
    if (!qln::tables_init(engine) || !qln::screen_init(engine)) return false;
    qln::Window templ;
    if (!qln::win_open(engine, 1, 320, 240, templ) || !qln::win_show(engine, 1, true)) return false;
    qln::Picture* sheet = qln::buf_new_picture(engine, 1, 32, 16);
    if (!sheet) return false;
    for (size_t i = 0; i < sheet->pixel_bytes(); ++i) sheet->pixels[i] = uint8_t(i);
    const uint16_t words[] = {16,     16, 2, 0, 0, 0, 0, 0, duration_10ms, 1, 0, 0, duration_10ms,
                              0xFFFF, 0,  0, 0};
    uint8_t bytes[sizeof words];
    for (size_t i = 0; i < std::size(words); ++i) {
        bytes[2 * i] = uint8_t(words[i]);
        bytes[2 * i + 1] = uint8_t(words[i] >> 8);
    }
    if (!qln::buf_store_bytes(engine, 2, bytes, sizeof bytes)) return false;
    for (uint16_t n = 0; n < kAnimations; ++n) {
        qln::anim_define(engine, n, 1, (n % 16) * 20, (n / 16) * 20, 1, 2, 0);
        if (!qln::anim_set_running(engine, n, true)) return false;
    }
    qln::anim_tick(engine, 0);  // the first frames
    return true;
}

void BM_AnimTick_NothingDue_64Running(benchmark::State& state) {
    qln::NullPlatform platform;
    qln::Engine engine;
    engine.platform = platform.services();
    if (!set_up(engine, 60000)) {
        state.SkipWithError("set-up");
        return;
    }
    // One millisecond per poll step: 600 s of frame would outlast any run,
    // so the clock is wound back every 100,000 steps.
    uint32_t now = 0;
    for (auto _ : state) {
        if (++now == 100000) {
            now = 1;
            engine.animations.last_call = 0;
            engine.animations.next_event = 600000;
            engine.animations.pending = 0;
        }
        qln::anim_tick(engine, now);
        benchmark::DoNotOptimize(engine.animations.next_event);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_AnimTick_NothingDue_64Running);

// The reference: what a scheduler that looks at every record costs.
void BM_Reference_DueTimeLoop_64Records(benchmark::State& state) {
    struct Record {
        bool running = true;
        uint32_t due = 600000;
    };
    std::vector<Record> records(kAnimations);
    uint32_t now = 0;
    for (auto _ : state) {
        ++now;
        uint32_t due_count = 0;
        for (const Record& r : records) due_count += r.running && now - r.due < 0x80000000u;
        benchmark::DoNotOptimize(due_count);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Reference_DueTimeLoop_64Records);

// Every tick all 64 change frame: the walk and 64 cell draws.
void BM_AnimTick_AllDue_64Running(benchmark::State& state) {
    qln::NullPlatform platform;
    qln::Engine engine;
    engine.platform = platform.services();
    if (!set_up(engine, 1)) {
        state.SkipWithError("set-up");
        return;
    }
    uint32_t now = 0;
    for (auto _ : state) {
        now += 10;
        qln::anim_tick(engine, now);
    }
    state.SetItemsProcessed(state.iterations() * kAnimations);
    state.SetLabel("items: frame changes");
}
BENCHMARK(BM_AnimTick_AllDue_64Running);

}  // namespace
