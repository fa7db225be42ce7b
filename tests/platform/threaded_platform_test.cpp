// The scenario thread's side of a threaded backend: in the background it
// paints the pause display at its hold and waits there until the program is
// back or quits; its long idle wait ends at once for input, the end of the
// program, the background and a minimise.

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "engine/engine.h"
#include "platform/headless/headless_platform.h"
#include "screen/screen.h"

namespace qln {
namespace {

struct Held : HeadlessPlatform {
    using ThreadedPlatform::input_signal;
    using ThreadedPlatform::set_minimised;
    using ThreadedPlatform::wait_input_ms;
    Held() : HeadlessPlatform(HeadlessOptions{}) {
        engine.platform = services();
        engine.settings.screen_width = 62;
        engine.settings.screen_height = 18;
        ok = screen_init(engine) && window_create(engine.shared);
        DisplayBitmap& d = engine.shared.display;
        for (size_t i = 0; i < d.pixels.size(); ++i) d.pixels[i] = uint8_t(0x40 + i % 7);
        before = d.pixels;
    }
    // The display's bytes, read under the screen lock.
    std::vector<uint8_t> display() {
        LockHold lock(engine.shared.screen_lock);
        return engine.shared.display.pixels;
    }
    // Holds on a scenario thread until the display differs from before (the
    // test runner's time limit bounds the wait).
    std::thread hold_painted(bool& went_on) {
        std::thread scenario([this, &went_on] { went_on = hold_while_minimised(); });
        while (display() == before) std::this_thread::yield();
        return scenario;
    }
    Engine engine;
    bool ok = false;
    std::vector<uint8_t> before;
};

TEST(BackgroundHold, TheScenarioThreadPaintsThePauseAndWaitsUntilTheProgramIsBack) {
    Held h;
    ASSERT_TRUE(h.ok);
    EXPECT_TRUE(h.hold_while_minimised());  // in front: no hold
    h.app_activate(false);
    h.app_activate(true);
    EXPECT_TRUE(h.hold_while_minimised());  // back before the hold: nothing painted
    EXPECT_EQ(h.display(), h.before);

    h.app_activate(false);
    EXPECT_TRUE(h.in_background());
    bool went_on = false;
    std::thread scenario = h.hold_painted(went_on);
    // Bitmap row 0, the bottom screen row, is darkened to a quarter.
    const std::vector<uint8_t> paused = h.display();
    EXPECT_EQ(paused[0], h.before[0] >> 2);
    EXPECT_EQ(paused[1], h.before[1] >> 2);
    h.app_activate(true);
    scenario.join();
    EXPECT_TRUE(went_on);
    EXPECT_FALSE(h.in_background());
    EXPECT_EQ(h.display(), h.before);
}

TEST(BackgroundHold, AQuitReleasesAScenarioThreadHeldInTheBackground) {
    Held h;
    ASSERT_TRUE(h.ok);
    h.app_activate(false);
    bool went_on = true;
    std::thread scenario = h.hold_painted(went_on);
    h.request_quit(QuitReason::WindowClosed);
    scenario.join();
    EXPECT_FALSE(went_on);
    h.app_activate(true);  // coming back after the quit still restores the screen
    EXPECT_EQ(h.display(), h.before);
}

TEST(IdleWait, EndsForInputQuitBackgroundAndMinimise) {
    const std::function<void(Held&)> wakes[] = {
        [](Held& p) { p.input_signal(); },
        [](Held& p) { p.request_quit(QuitReason::WindowClosed); },
        [](Held& p) { p.set_minimised(true); },
        [](Held& p) { p.app_activate(false); },
    };
    for (const auto& wake : wakes) {
        Held p;
        ASSERT_TRUE(p.ok);
        // A wait of a minute, woken from another thread 20 ms after it began.
        const auto start = std::chrono::steady_clock::now();
        std::thread other([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            wake(p);
        });
        p.wait_input_ms(60'000);
        other.join();
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    }
}

}  // namespace
}  // namespace qln
