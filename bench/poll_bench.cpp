// The poll step when nothing changes: it runs after every command, so its
// cost is paid by every scenario. Sixteen visible windows in a grid, four
// buttons each with a colour highlight, the pointer resting on the last
// button of the lowest window (the hit test passes fifteen windows first)
// and that button already highlighted.

#include <benchmark/benchmark.h>

#include <mutex>

#include "engine/engine.h"
#include "platform/null/null_platform.h"
#include "run/run_loop.h"
#include "screen/screen.h"
#include "tables/tables.h"
#include "windows/window.h"

namespace {

constexpr int32_t kWindows = 16;
constexpr int32_t kButtonsPerWindow = 4;
constexpr uint16_t kColourHighlight = 1;

bool open_grid(qln::Engine& engine) {
    for (int32_t n = 1; n <= kWindows; ++n) {
        qln::Window templ;
        templ.px = ((n - 1) % 4) * 160;
        templ.py = ((n - 1) / 4) * 120;
        if (!qln::win_open(engine, n, 150, 110, templ) || !qln::win_show(engine, n, true)) {
            return false;
        }
        if (!qln::buf_new_regions(engine, n, kButtonsPerWindow)) return false;
        qln::RegionList* list = qln::buf_get_regions(engine, n);
        for (int32_t b = 0; b < kButtonsPerWindow; ++b) {
            const int32_t x = 10 + (b % 2) * 70, y = 10 + (b / 2) * 50;
            list->entries[size_t(b)] =
                qln::Region{b + 1, kColourHighlight, x, y, x + 60, y + 40, 0};
        }
        qln::Window& w = engine.windows.records[size_t(n)];
        w.bt_buff = static_cast<uint16_t>(n);
        w.bt_bpos = 0;
        w.bt_num = kButtonsPerWindow;
    }
    return true;
}

void poll_steps(benchmark::State& state, int32_t x, int32_t y) {
    qln::NullPlatform platform;
    qln::Engine engine;
    engine.platform = platform.services();
    if (!qln::tables_init(engine) || !qln::screen_init(engine) || !open_grid(engine)) {
        state.SkipWithError("set-up");
        return;
    }
    {
        qln::LockHold hold(engine.shared.input.lock);
        engine.shared.input.state.x = x;
        engine.shared.input.state.y = y;
    }
    qln::InputState snap;
    // The first step draws the highlight and the screen; later ones find
    // nothing changed.
    if (!qln::poll(engine, snap) || !qln::poll(engine, snap)) {
        state.SkipWithError("poll");
        return;
    }
    for (auto _ : state) {
        if (!qln::poll(engine, snap)) {
            state.SkipWithError("poll");
            break;
        }
        benchmark::DoNotOptimize(snap);
    }
    state.counters["button"] = snap.button_id;
    state.SetItemsProcessed(state.iterations());
    state.SetLabel("poll steps");
}

// On button 4 of window 1, the lowest of the sixteen.
void BM_PollStep_16Windows64Buttons(benchmark::State& state) {
    poll_steps(state, 80 + 20, 60 + 20);
}
BENCHMARK(BM_PollStep_16Windows64Buttons);

// Outside every window (over the screen picture itself).
void BM_PollStep_16WindowsNoneHit(benchmark::State& state) {
    poll_steps(state, 155, 115);
}
BENCHMARK(BM_PollStep_16WindowsNoneHit);

}  // namespace
