// The program in the background: the scenario thread paints the pause
// display when it reaches its hold and waits there; coming back to the
// front puts the kept screen back and lets it go on. A quit releases it.

#include <gtest/gtest.h>

#include <mutex>
#include <thread>
#include <vector>

#include "engine/engine.h"
#include "platform/headless/headless_platform.h"
#include "screen/screen.h"

namespace qln {
namespace {

struct Held {
    Held() : platform(HeadlessOptions{}) {
        engine.platform = platform.services();
        engine.settings.screen_width = 62;
        engine.settings.screen_height = 18;
        ok = screen_init(engine) && platform.window_create(engine.shared);
        DisplayBitmap& d = engine.shared.display;
        for (size_t i = 0; i < d.pixels.size(); ++i) d.pixels[i] = uint8_t(0x40 + i % 7);
        before = d.pixels;
    }
    // The display's bytes, read under the screen lock.
    std::vector<uint8_t> display() {
        LockHold lock(engine.shared.screen_lock);
        return engine.shared.display.pixels;
    }
    // Waits (without a time limit of its own: the test runner has one) until
    // the display differs from before.
    void until_painted() {
        while (display() == before) std::this_thread::yield();
    }
    HeadlessPlatform platform;
    Engine engine;
    bool ok = false;
    std::vector<uint8_t> before;
};

TEST(BackgroundHold, TheScenarioThreadPaintsThePauseAndWaitsUntilTheProgramIsBack) {
    Held h;
    ASSERT_TRUE(h.ok);
    EXPECT_TRUE(h.platform.hold_while_minimised());  // in front: no hold
    EXPECT_EQ(h.display(), h.before);

    h.platform.app_activate(false);
    EXPECT_TRUE(h.platform.in_background());
    bool went_on = false;
    std::thread scenario([&] { went_on = h.platform.hold_while_minimised(); });
    h.until_painted();
    // Bitmap row 0, the bottom screen row, is darkened to a quarter.
    const std::vector<uint8_t> paused = h.display();
    EXPECT_EQ(paused[0], h.before[0] >> 2);
    EXPECT_EQ(paused[1], h.before[1] >> 2);
    h.platform.app_activate(true);
    scenario.join();
    EXPECT_TRUE(went_on);
    EXPECT_FALSE(h.platform.in_background());
    EXPECT_EQ(h.display(), h.before);
}

TEST(BackgroundHold, AQuitReleasesAScenarioThreadHeldInTheBackground) {
    Held h;
    ASSERT_TRUE(h.ok);
    h.platform.app_activate(false);
    bool went_on = true;
    std::thread scenario([&] { went_on = h.platform.hold_while_minimised(); });
    h.until_painted();
    h.platform.request_quit(QuitReason::WindowClosed);
    scenario.join();
    EXPECT_FALSE(went_on);
    // Coming back after the quit still restores the screen.
    h.platform.app_activate(true);
    EXPECT_EQ(h.display(), h.before);
}

TEST(BackgroundHold, ComingBackBeforeTheHoldPaintsNothing) {
    Held h;
    ASSERT_TRUE(h.ok);
    h.platform.app_activate(false);
    h.platform.app_activate(true);
    EXPECT_TRUE(h.platform.hold_while_minimised());
    EXPECT_EQ(h.display(), h.before);
}

}  // namespace
}  // namespace qln
