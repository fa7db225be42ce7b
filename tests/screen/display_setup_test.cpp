// Screen set-up and tear-down, the display set-up and display-mode requests
// (also as the sys_display command).

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "windows/window_test_support.h"

namespace qln::test {
namespace {

// A display whose mode changes when asked (unless refused).
class DisplayPlatform : public NullPlatform {
  public:
    int width = 800, height = 600, bpp = 24;
    bool refuse = false;
    std::vector<std::string> requests;

    void display_query(int& w, int& h, int& b) override {
        w = width;
        h = height;
        b = bpp;
    }
    bool display_mode_change(bool full_screen, int w, int h, int b) override {
        requests.push_back(std::to_string(full_screen) + " " + std::to_string(w) + "x" +
                           std::to_string(h) + " " + std::to_string(b));
        if (refuse) return false;
        width = w;
        height = h;
        return true;
    }
};

TEST(ScreenInit, BuildsTablesAndPalette) {
    ScreenMachine m;
    ASSERT_TRUE(m.ready);
    const ScreenState& s = m.engine.screen;
    EXPECT_EQ(s.screen->width, 640);
    EXPECT_EQ(m.engine.shared.display.stride, 1920u);
    EXPECT_EQ(m.engine.shared.display.pixels.size(), 1920u * 480);
    EXPECT_EQ(s.dirty.right, 640);
    EXPECT_EQ(s.dirty.bottom, 480);
    // Sines times 10000 over 1024 steps, cut toward zero.
    for (auto [i, v] : {std::pair{1, 61}, {128, 7071}, {256, 10000}, {640, -7071}, {768, -10000}})
        EXPECT_EQ(s.sine[i], v) << i;
    // 0xRRGGBB and the flag byte: the cube from 10, the reserved blacks after
    // it, a static colour at 249 (red, in the bitmap's blue-green-red order).
    const auto entry = [&](int n) {
        return uint32_t(s.palette[n][0]) << 24 | uint32_t(s.palette[n][1]) << 16 |
               uint32_t(s.palette[n][2]) << 8 | s.palette[n][3];
    };
    const uint32_t entries[][2] = {{10, 0x00000000},  {10 + 36 * 5 + 6 + 2, 0xFF336600},
                                   {225, 0xFFFFFF00}, {226, 0x00000001},
                                   {245, 0x00000001}, {249, 0xFF000000}};
    for (const auto& [n, v] : entries) EXPECT_EQ(entry(int(n)), v) << n;
    const uint8_t* red = m.engine.shared.display.colours[249];
    EXPECT_EQ((std::array<int, 3>{red[0], red[1], red[2]}), (std::array<int, 3>{0, 0, 255}));
}

TEST(ScreenInit, ScreenSizeZeroTakesTheDisplay) {
    DisplayPlatform platform;
    Machine m([](Settings& s) {
        s.screen_width = 0;
        s.screen_height = 480;
    });
    m.engine.platform = platform.services();
    ASSERT_TRUE(screen_init(m.engine));
    EXPECT_EQ(m.engine.screen.screen->width, 800);
    EXPECT_EQ(m.engine.screen.screen->height, 600);
    EXPECT_EQ(m.engine.windows.records[0].sx(), 800);
    EXPECT_EQ(m.engine.screen.startup_display_width, 800);
    display_setup(m.engine, 24, 800, 600);
    EXPECT_EQ(m.engine.shared.window_style, WindowStyle::Popup);
}

TEST(ScreenInit, ShutdownIsSafeAtAnyTime) {
    Machine never;
    screen_shutdown(never.engine);
    screen_shutdown(never.engine);
    EXPECT_EQ(win_get(never.engine, 0, true), nullptr);
    mark_dirty(never.engine, nullptr);
    screen_update(never.engine);
    EXPECT_FALSE(win_open(never.engine, 1, 5, 5, Window{}));

    ScreenMachine m;
    ASSERT_TRUE(m.open(3, 5, 5));
    screen_shutdown(m.engine);
    EXPECT_EQ(m.engine.screen.screen, nullptr);
    EXPECT_TRUE(m.engine.windows.records.empty());
    screen_update(m.engine);
    screen_shutdown(m.engine);
    // And up again.
    ASSERT_TRUE(screen_init(m.engine));
    EXPECT_EQ(m.engine.windows.records.size(), 16u);
}

TEST(DisplaySetup, StyleFollowsTheDisplaySize) {
    ScreenMachine m;
    display_setup(m.engine, 24, 640, 480);
    EXPECT_EQ(m.engine.shared.window_style, WindowStyle::Popup);
    EXPECT_EQ(m.engine.screen.window_left, 0);
    display_setup(m.engine, 24, 1920, 1080);
    EXPECT_EQ(m.engine.shared.window_style, WindowStyle::Framed);
    EXPECT_EQ(m.engine.screen.window_left, 640);
    EXPECT_EQ(m.engine.screen.window_top, 300);
    display_setup(m.engine, 24, 640, 400);  // smaller: the style stays
    EXPECT_EQ(m.engine.shared.window_style, WindowStyle::Framed);
    display_setup(m.engine, 24, 640, 1080);  // one side equal, one larger
    EXPECT_EQ(m.engine.shared.window_style, WindowStyle::Framed);
    EXPECT_FALSE(m.engine.screen.eight_bit);
    EXPECT_EQ(m.engine.shared.display.bits_per_pixel, 24);
    EXPECT_EQ(m.engine.shared.display.colours_used, 0u);
}

TEST(DisplayModeRequest, AnswersAsTheDisplayStands) {
    DisplayPlatform platform;
    Machine m;
    m.engine.platform = platform.services();
    ASSERT_TRUE(screen_init(m.engine));  // display 800 x 600, screen 640 x 480

    // Windowed while the display is not at the screen size: nothing to do.
    EXPECT_EQ(display_mode_request(m.engine, false), 1);
    EXPECT_TRUE(platform.requests.empty());

    platform.refuse = true;
    EXPECT_EQ(display_mode_request(m.engine, true), 2);
    EXPECT_EQ(platform.width, 800);
    platform.refuse = false;
    screen_update(m.engine);
    EXPECT_EQ(display_mode_request(m.engine, true), 0);
    EXPECT_EQ(platform.requests.back(), "1 640x480 0");
    EXPECT_EQ(m.engine.screen.display_width, 640);
    EXPECT_EQ(m.engine.shared.window_style, WindowStyle::Popup);
    EXPECT_TRUE(m.engine.screen.dirty.empty());  // the change redrew everything

    EXPECT_EQ(display_mode_request(m.engine, true), 1);
    EXPECT_EQ(platform.requests.size(), 2u);

    EXPECT_EQ(display_mode_request(m.engine, false), 0);
    EXPECT_EQ(platform.requests.back(), "0 800x600 0");
    EXPECT_EQ(m.engine.shared.window_style, WindowStyle::Framed);

    // Onto an 8-bit display: the picture stays 24-bit, the output is dithered.
    platform.bpp = 8;
    EXPECT_EQ(display_mode_request(m.engine, true), 0);
    EXPECT_TRUE(m.engine.screen.eight_bit);
    EXPECT_EQ(m.engine.shared.display.stride, 640u);
    EXPECT_EQ(m.engine.screen.screen->pixel_bytes(), 640u * 480 * 3);
    EXPECT_EQ(m.engine.shared.display.pixels[0], 10);  // black

    // A display that started at the screen size has nowhere to go back to.
    DisplayPlatform exact;
    exact.width = 640;
    exact.height = 480;
    Machine n;
    n.engine.platform = exact.services();
    ASSERT_TRUE(screen_init(n.engine));
    EXPECT_EQ(display_mode_request(n.engine, false), 1);
    EXPECT_EQ(display_mode_request(n.engine, true), 1);
    EXPECT_TRUE(exact.requests.empty());
}

TEST(SysDisplay, AnyNonZeroAsksForFullScreenAndR1HoldsTheAnswer) {
    DisplayPlatform platform;
    Machine m;
    m.engine.platform = platform.services();
    ASSERT_TRUE(screen_init(m.engine));
    ASSERT_TRUE(m.start(
        "    sys_display 7\n    eval v0[0] = r[1]\n    sys_display 1\n    eval v0[1] = r[1]\n"
        "    sys_display 0\n    eval v0[2] = r[1]\n    end\n"));
    EXPECT_EQ(m.run(), kResultEndAll);
    EXPECT_EQ((std::vector<int32_t>{m.var(0, 0), m.var(0, 1), m.var(0, 2)}),
              (std::vector<int32_t>{0, 1, 0}));
    EXPECT_EQ(platform.requests, (std::vector<std::string>{"1 640x480 0", "0 800x600 0"}));
    EXPECT_EQ(m.engine.shared.window_style, WindowStyle::Framed);
}

}  // namespace
}  // namespace qln::test
