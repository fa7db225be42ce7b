#pragma once
// A machine with its screen set up, for the window and picture commands:
// pictures filled with telling pixels and the errors the run reported.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "graphics/picture.h"
#include "screen/screen.h"
#include "support/machine.h"
#include "support/pixels.h"
#include "windows/window.h"

namespace qln::test {

struct CommandMachine : Machine {
    explicit CommandMachine(void (*adjust)(Settings&) = nullptr) : Machine(adjust) {
        platform.stop_on_error = false;
        ready = screen_init(engine);
    }
    bool ready = false;

    // Runs source to its end; false (with a failure) when it does not end.
    bool go(const std::string& source) {
        if (!start(source)) return false;
        const int32_t result = run();
        EXPECT_EQ(result, kResultEndAll);
        return result == kResultEndAll;
    }
    Picture* window_picture(int32_t n) {
        Window* w = win_get(engine, n, true);
        return w ? w->picture : nullptr;
    }
    Window& win(int32_t n) { return engine.windows.records[size_t(n)]; }
    // "code detail" of error i, e.g. "106 win_no = 3".
    std::string error(size_t i) const {
        if (i >= platform.errors.size()) return "<none>";
        return std::to_string(platform.errors[i].error_number) + " " + platform.errors[i].detail;
    }
};

// Every pixel tells where it came from: red 0xCC, green = y, blue = x (+ tag).
inline uint32_t coordinate(int32_t x, int32_t y, uint32_t tag = 0) {
    return 0xCC0000u | uint32_t(y) << 8 | (uint32_t(x) + tag);
}
inline void fill_coordinates(Picture& p, uint32_t tag = 0) {
    for (int32_t y = 0; y < p.height; ++y) {
        for (int32_t x = 0; x < p.width; ++x) set_pixel(p, x, y, coordinate(x, y, tag));
    }
}
inline void fill_rgb(Picture& p, uint32_t rgb) {
    for (int32_t y = 0; y < p.height; ++y) {
        for (int32_t x = 0; x < p.width; ++x) set_pixel(p, x, y, rgb);
    }
}

}  // namespace qln::test
