// The dissolve's timed run on the virtual clock: what each pass shows, the
// waits, the noise, and how the run ends early.

#include <gtest/gtest.h>

#include <vector>

#include "effects/fx_dissolve.h"
#include "effects/fx_frame.h"
#include "effects/fx_pictures.h"
#include "windows/window_test_support.h"

namespace qln::test {
namespace {

// Records each rectangle the screen update shows, and window 1 then.
class ShowWatch : public NullPlatform {
  public:
    Engine* engine = nullptr;
    std::vector<std::vector<int32_t>> shown;
    std::vector<uint64_t> hashes;
    void display_invalidate(const Rect& changed) override {
        shown.push_back(edges(changed));
        const Picture* p = engine->windows.records[1].picture;
        hashes.push_back(p ? picture_hash(*p) : 0);
    }
};

// A source of w x h in buffer 1 dissolving into window 1 (8 x 8 at (100,
// 100)) at (1, 1); copied() counts the source pixels in place.
struct DissolveFixture {
    ScreenMachine m;
    ShowWatch watch;
    int32_t w, h;
    DissolveFixture(int32_t width, int32_t height) : w(width), h(height) {
        watch.engine = &m.engine;
        m.engine.platform = watch.services();
        EXPECT_TRUE(m.open(1, 8, 8, 100, 100) && win_show(m.engine, 1, true));
        fill_rgb(*m.win(1).picture, kGround);
        screen_update(m.engine);
        watch.shown.clear();
        fill_sources(*buf_new_picture(m.engine, 1, uint16_t(w), uint16_t(h)));
    }
    void run(uint16_t edge, uint16_t mode, uint16_t delay) {
        FxTarget target;
        ASSERT_TRUE(fx_target(m.engine, 1, 1, 1, target));
        fx_dissolve(m.engine, 1, 1, target, edge, mode, delay);
    }
    int32_t copied() {
        return w * h - pixels_off(*m.win(1).picture, w + 1, h + 1, [&](int32_t x, int32_t y) {
                   return x == 0 || y == 0 ? kGround : 0xCC0000 | ((y - 1) * w + x - 1);
               });
    }
};

TEST(FxDissolve, EachPassShowsItsLinesThenWaitsItsDelay) {
    struct Case {
        int32_t w, h;
        uint16_t edge, mode, delay;
        std::vector<std::vector<int32_t>> shown;
        uint32_t clock;
    };
    const Case cases[] = {
        {4, 3, 2, 0, 1, {{101, 101, 105, 103}, {101, 102, 105, 104}, {101, 103, 105, 104}}, 30},
        {3, 2, 2, 2, 0, {{101, 101, 103, 103}, {102, 101, 104, 103}, {103, 101, 104, 103}}, 0},
        {5, 1, 0, 0, 2, {{101, 101, 106, 102}}, 20},   // one row: one pass
        {6, 6, 16, 1, 1, {{101, 101, 107, 107}}, 10},  // 11 diagonals: one pass
        {4, 3, 2, 3, 9, {}, 0},                        // no such mode
    };
    for (const Case& c : cases) {
        DissolveFixture f(c.w, c.h);
        f.run(c.edge, c.mode, c.delay);
        EXPECT_EQ(f.watch.shown, c.shown) << c.mode;
        EXPECT_EQ(f.watch.now, c.clock) << c.mode;
        EXPECT_EQ(f.copied(), c.mode == 3 ? 0 : c.w * c.h) << c.mode;
    }
    std::vector<std::vector<uint64_t>> runs;  // the noise follows the engine's generator
    for (const uint32_t seed : {1u, 1u, 2u}) {
        DissolveFixture f(7, 7);
        f.m.engine.random.state = seed;
        f.run(5, 0, 0);
        runs.push_back(f.watch.hashes);
    }
    EXPECT_EQ(runs[0], runs[1]);
    EXPECT_NE(runs[0], runs[2]);
}

TEST(FxDissolve, TheProgramsEndFinishesThePictureAGoneSourceStopsIt) {
    // At 150 ms, in the second wait: the program ends (the rest is drawn at
    // once), the buffer is freed, the window closes (showing what was under it).
    for (const auto& [what, shown, copied] : {std::tuple{0, 2, 49}, {1, 2, 14}, {2, 3, -1}}) {
        DissolveFixture f(7, 7);
        f.watch.at(150, [&, what = what] {
            if (what == 0) f.watch.quit = true;
            if (what == 1) buf_free(f.m.engine, 1);
            if (what == 2) win_close(f.m.engine, 1);
        });
        f.run(1, 0, 10);
        EXPECT_EQ(f.watch.shown.size(), size_t(shown)) << what;
        EXPECT_LE(f.watch.now, 201u);
        EXPECT_TRUE(copied < 0 || f.copied() == copied) << what;
    }
}

}  // namespace
}  // namespace qln::test
