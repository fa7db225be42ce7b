// Drawing a picture into a window with a timed fade-in on a virtual clock.

#include <gtest/gtest.h>

#include <vector>

#include "effects/picture_fade.h"
#include "windows/window_test_support.h"

namespace qln::test {
namespace {

// Records, at every screen update, the blue byte of the watched screen pixel.
class FadeWatch : public NullPlatform {
  public:
    Engine* engine = nullptr;
    int32_t x = 0, y = 0;
    std::vector<int> blues;
    void display_invalidate(const Rect&) override {
        blues.push_back(int(pixel(*engine->screen.screen, x, y) & 0xFF));
    }
};

struct FadeFixture {
    ScreenMachine m;
    FadeWatch watch;
    Picture* src = nullptr;

    explicit FadeFixture(uint32_t clock_start) {
        watch.engine = &m.engine;
        watch.now = clock_start;
        m.engine.platform = watch.services();
        EXPECT_TRUE(m.open(1, 8, 8, 100, 100));
        EXPECT_TRUE(win_show(m.engine, 1, true));
        screen_update(m.engine);
        watch.x = 102;
        watch.y = 103;
        watch.blues.clear();
        src = picture_create(4, 4);
        fill_rgb(*src, 0xFFFFFF);
    }
    ~FadeFixture() { picture_free(src); }

    bool draw(int32_t fade_ms) {
        return window_draw_picture(m.engine, 1, 2, 2, 0, 0, src, 0, 0, 0, 0, fade_ms, 255, 0, 0);
    }
};

TEST(WindowFade, LevelsFollowTheClockToTheFullPicture) {
    struct Case {
        int32_t fade_ms;
        uint32_t clock_start, background;
        std::vector<int> blues;  // white over the background, level by level
    };
    const std::vector<int> tenths = {0, 26, 51, 77, 102, 128, 153, 179, 204, 230, 255};
    const Case cases[] = {
        // (elapsed * 255 + 5) / 10 for elapsed 0 to 10.
        {10, 1000, 0, tenths},
        {3, 1000, 0, {0, 85, 170, 255}},
        // From what the window showed: table[128][255] + table[127][32].
        {2, 1000, 0x202020, {32, 144, 255}},
        // The tick count wrapping during the fade is harmless.
        {10, 0xFFFFFFFAu, 0, tenths},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.clock_start);
        FadeFixture f(c.clock_start);
        fill_rgb(*f.m.win(1).picture, c.background);
        ASSERT_TRUE(f.draw(c.fade_ms));
        EXPECT_EQ(f.watch.blues, c.blues);
        EXPECT_EQ(f.watch.now, c.clock_start + uint32_t(c.fade_ms));
        EXPECT_EQ(pixel(*f.m.win(1).picture, 5, 5), 0xFFFFFFu);
        EXPECT_EQ(pixel(*f.m.win(1).picture, 6, 6), c.background);
    }
}

// Asks the program to end once the clock reaches quit_at.
class QuittingWatch : public FadeWatch {
  public:
    uint32_t quit_at = 0;
    void idle_pass() override {
        FadeWatch::idle_pass();
        if (now >= quit_at) quit = true;
    }
};

TEST(WindowFade, TheEndOfTheProgramEndsALongFadeWithTheWholePicture) {
    FadeFixture f(0);
    QuittingWatch quitting;
    quitting.engine = &f.m.engine;
    quitting.x = f.watch.x;
    quitting.y = f.watch.y;
    quitting.quit_at = 300;
    f.m.engine.platform = quitting.services();
    ASSERT_TRUE(f.draw(-1));  // the longest fade there is: 65,535 ms
    EXPECT_LE(quitting.now, 302u);
    EXPECT_EQ(pixel(*f.m.win(1).picture, 5, 5), 0xFFFFFFu);
}

TEST(WindowFade, NoFadeOrSizesBeyondAPictureDrawAtOnceAndWaitForTheNextUpdate) {
    FadeFixture f(50);
    ASSERT_TRUE(f.draw(0));
    EXPECT_TRUE(f.watch.blues.empty());
    EXPECT_EQ(f.watch.now, 50u);
    EXPECT_EQ(pixel(*f.m.win(1).picture, 2, 2), 0xFFFFFFu);
    EXPECT_EQ(f.m.engine.screen.dirty.left, 102);
    EXPECT_EQ(f.m.engine.screen.dirty.right, 106);
    // Only the low 16 bits of the duration count: 0x10000 is no fade.
    EXPECT_TRUE(f.draw(0x10000));
    EXPECT_TRUE(f.watch.blues.empty());
    EXPECT_FALSE(window_draw_picture(f.m.engine, 5, 0, 0, 0, 0, f.src, 0, 0, 0, 0, 10, 255, 0, 0));
    // sw of 100000 stretches the source over everything; the fade pictures
    // could not hold it, so the picture appears at once.
    EXPECT_TRUE(
        window_draw_picture(f.m.engine, 1, 0, 0, 0, 0, f.src, 0, 0, 100000, 4, 10, 255, 0, 0));
    EXPECT_EQ(f.watch.now, 50u);
    // Far off the window the fade still takes its time.
    EXPECT_TRUE(window_draw_picture(f.m.engine, 1, -2147483647 - 1, 2147483647, 0, 0, f.src, 0, 0,
                                    0, 0, 3, 255, 0, 0));
    EXPECT_EQ(f.watch.now, 53u);
    EXPECT_TRUE(window_draw_picture(f.m.engine, 1, 0, 0, 0, 0, nullptr, 0, 0, 0, 0, 3, 255, 0, 0));
}

TEST(WindowFade, AHiddenWindowFadesWithoutShowing) {
    FadeFixture f(0);
    ASSERT_TRUE(win_show(f.m.engine, 1, false));
    screen_update(f.m.engine);
    f.watch.blues.clear();
    ASSERT_TRUE(f.draw(5));
    EXPECT_TRUE(f.watch.blues.empty());
    EXPECT_EQ(f.watch.now, 5u);
    EXPECT_EQ(pixel(*f.m.win(1).picture, 2, 2), 0xFFFFFFu);
}

}  // namespace
}  // namespace qln::test
