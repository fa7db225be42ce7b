// The dissolve's timed run on the virtual clock: what each pass shows, the
// waits, the random noise, and how the run ends early.

#include <gtest/gtest.h>

#include <vector>

#include "effects/fx_dissolve.h"
#include "effects/fx_frame.h"
#include "windows/window_test_support.h"

namespace qln::test {
namespace {

// Records every rectangle the screen update shows, and the window's picture
// at that moment.
class ShowWatch : public NullPlatform {
  public:
    Engine* engine = nullptr;
    std::vector<std::vector<int32_t>> shown;
    std::vector<uint64_t> window_hashes;
    void display_invalidate(const Rect& changed) override {
        shown.push_back(edges(changed));
        const Picture* p = engine->windows.records[1].picture;
        window_hashes.push_back(p ? picture_hash(*p) : 0);
    }
};

// Window 1 of 8 x 8 at (100, 100), the source in buffer 1, drawn at (1, 1).
struct DissolveFixture {
    ScreenMachine m;
    ShowWatch watch;
    Picture* src = nullptr;
    int32_t w, h;

    DissolveFixture(int32_t width, int32_t height) : w(width), h(height) {
        watch.engine = &m.engine;
        m.engine.platform = watch.services();
        EXPECT_TRUE(m.open(1, 8, 8, 100, 100));
        EXPECT_TRUE(win_show(m.engine, 1, true));
        fill_rgb(*m.win(1).picture, 0x123456);
        screen_update(m.engine);
        watch.shown.clear();
        watch.window_hashes.clear();
        src = buf_new_picture(m.engine, 1, uint16_t(w), uint16_t(h));
        fill_coordinates(*src);
    }
    void run(uint16_t edge, uint16_t mode, uint16_t delay) {
        FxTarget target;
        ASSERT_TRUE(fx_target(m.engine, 1, 1, 1, target));
        fx_dissolve(m.engine, 1, 1, target, edge, mode, delay);
    }
    int32_t copied() {
        return w * h - pixels_off(*m.win(1).picture, w + 1, h + 1, [&](int32_t x, int32_t y) {
                   return x == 0 || y == 0 ? 0x123456 : coordinate(x - 1, y - 1);
               });
    }
};

TEST(FxDissolve, EachPassShowsItsLinesThenWaitsItsDelay) {
    using Shown = std::vector<std::vector<int32_t>>;
    struct Case {
        int32_t w, h;
        uint16_t edge, mode, delay;
        Shown shown;
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
        SCOPED_TRACE(c.mode);
        DissolveFixture f(c.w, c.h);
        f.run(c.edge, c.mode, c.delay);
        EXPECT_EQ(f.watch.shown, c.shown);
        EXPECT_EQ(f.watch.now, c.clock);
        EXPECT_EQ(f.copied(), c.mode == 3 ? 0 : c.w * c.h);
    }
}

TEST(FxDissolve, TheSameSeedGivesTheSameNoise) {
    std::vector<std::vector<uint64_t>> runs;
    for (const uint32_t seed : {1u, 1u, 2u}) {
        DissolveFixture f(7, 7);
        f.m.engine.random.state = seed;
        f.run(5, 0, 0);
        runs.push_back(f.watch.window_hashes);
    }
    EXPECT_EQ(runs[0].size(), 7u);
    EXPECT_EQ(runs[0], runs[1]);
    EXPECT_NE(runs[0], runs[2]);
}

TEST(FxDissolve, TheProgramsEndFinishesThePictureAndAGoneSourceStopsIt) {
    struct Case {
        int what;               // 0 quit, 1 free the buffer, 2 close the window
        int32_t shown, copied;  // a closed window shows what was under it
    };
    for (const Case c : {Case{0, 2, 7 * 7}, Case{1, 2, 14}, Case{2, 3, -1}}) {
        SCOPED_TRACE(c.what);
        DissolveFixture f(7, 7);
        f.watch.at(150, [&] {
            if (c.what == 0) f.watch.quit = true;
            if (c.what == 1) buf_free(f.m.engine, 1);
            if (c.what == 2) win_close(f.m.engine, 1);
        });
        f.run(1, 0, 10);
        EXPECT_EQ(f.watch.shown.size(), size_t(c.shown));
        EXPECT_LE(f.watch.now, 201u);
        if (c.copied >= 0) {
            EXPECT_EQ(f.copied(), c.copied);
        }
    }
}

}  // namespace
}  // namespace qln::test
