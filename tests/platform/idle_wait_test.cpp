// The scenario thread's long idle wait ends at once for input, for the end
// of the program, and when the program goes to the background or is
// minimised (the poll step must reach its hold and paint the pause display).

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>

#include "engine/engine.h"
#include "platform/headless/headless_platform.h"

namespace qln {
namespace {

struct WaitingPlatform : HeadlessPlatform {
    WaitingPlatform() : HeadlessPlatform(HeadlessOptions{}) {}
    using ThreadedPlatform::input_signal;
    using ThreadedPlatform::set_minimised;
    using ThreadedPlatform::wait_input_ms;
};

// Milliseconds a wait of a minute lasted when wake ran on another thread
// 20 ms after it began.
double wait_ended_by(WaitingPlatform& platform, const std::function<void()>& wake) {
    const auto start = std::chrono::steady_clock::now();
    std::thread other([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        wake();
    });
    platform.wait_input_ms(60'000);
    const auto end = std::chrono::steady_clock::now();
    other.join();
    return std::chrono::duration<double, std::milli>(end - start).count();
}

TEST(IdleWait, EndsForInputQuitBackgroundAndMinimise) {
    {
        WaitingPlatform p;
        EXPECT_LT(wait_ended_by(p, [&] { p.input_signal(); }), 10'000);
    }
    {
        WaitingPlatform p;
        EXPECT_LT(wait_ended_by(p, [&] { p.request_quit(QuitReason::WindowClosed); }), 10'000);
    }
    {
        WaitingPlatform p;
        EXPECT_LT(wait_ended_by(p, [&] { p.set_minimised(true); }), 10'000);
    }
    {
        WaitingPlatform p;
        Engine engine;
        ASSERT_TRUE(p.window_create(engine.shared));
        EXPECT_LT(wait_ended_by(p, [&] { p.app_activate(false); }), 10'000);
    }
}

}  // namespace
}  // namespace qln
