#pragma once
// Screens, windows and pictures for the window and screen tests.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "graphics/picture.h"
#include "screen/screen.h"
#include "support/machine.h"
#include "support/pixels.h"
#include "windows/window.h"

namespace qln::test {

// A machine whose screen is set up (640 x 480 unless adjust says otherwise).
struct ScreenMachine : Machine {
    explicit ScreenMachine(void (*adjust)(Settings&) = nullptr) : Machine(adjust) {
        ready = screen_init(engine);
    }
    bool ready = false;

    // Opens window n hidden at (x, y) with the default template.
    bool open(int32_t n, int32_t w, int32_t h, int32_t x = 0, int32_t y = 0) {
        Window templ;
        templ.px = x;
        templ.py = y;
        return win_open(engine, n, w, h, templ);
    }
    Window& win(int32_t n) { return engine.windows.records[size_t(n)]; }
};

// A screen machine for the commands: errors are kept and the run continues.
struct CommandMachine : ScreenMachine {
    explicit CommandMachine(void (*adjust)(Settings&) = nullptr) : ScreenMachine(adjust) {
        platform.stop_on_error = false;
    }
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
    // "code detail" of error i, e.g. "106 win_no = 3"; errors() gives them all.
    std::string error(size_t i) const {
        if (i >= platform.errors.size()) return "<none>";
        return std::to_string(platform.errors[i].error_number) + " " + platform.errors[i].detail;
    }
    std::vector<std::string> errors() const {
        std::vector<std::string> all;
        for (size_t i = 0; i < platform.errors.size(); ++i) all.push_back(error(i));
        return all;
    }
    // Result registers first to last, and variables first to last of a space.
    std::vector<int32_t> regs(uint32_t first, uint32_t last) {
        std::vector<int32_t> r;
        for (uint32_t n = first; n <= last; ++n) r.push_back(reg(n));
        return r;
    }
    std::vector<int32_t> vars(int32_t space, int32_t first, int32_t last) {
        std::vector<int32_t> v;
        for (int32_t i = first; i <= last; ++i) v.push_back(var(space, i));
        return v;
    }
};

inline void fill_rgb(Picture& p, uint32_t rgb) {
    for (int32_t y = 0; y < p.height; ++y) {
        for (int32_t x = 0; x < p.width; ++x) set_pixel(p, x, y, rgb);
    }
}

// Every pixel tells where it came from: red 0xCC, green = y, blue = x (+ tag).
inline uint32_t coordinate(int32_t x, int32_t y, uint32_t tag = 0) {
    return 0xCC0000u | uint32_t(y) << 8 | (uint32_t(x) + tag);
}
inline void fill_coordinates(Picture& p, uint32_t tag = 0) {
    for (int32_t y = 0; y < p.height; ++y) {
        for (int32_t x = 0; x < p.width; ++x) set_pixel(p, x, y, coordinate(x, y, tag));
    }
}

// Counts the pixels of p's top-left w x h that are not expected(x, y).
template <typename Expected>
int32_t pixels_off(const Picture& p, int32_t w, int32_t h, Expected expected) {
    int32_t wrong = 0;
    for (int32_t y = 0; y < h; ++y) {
        for (int32_t x = 0; x < w; ++x) wrong += pixel(p, x, y) != uint32_t(expected(x, y));
    }
    return wrong;
}

// A rectangle's edges, to compare in one assertion.
inline std::vector<int32_t> edges(const Rect& r) {
    return {r.left, r.top, r.right, r.bottom};
}

}  // namespace qln::test
