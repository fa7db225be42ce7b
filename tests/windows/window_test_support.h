#pragma once
// Screens, windows and pictures for the window and screen tests.

#include <cstdint>

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

inline void fill_rgb(Picture& p, uint32_t rgb) {
    for (int32_t y = 0; y < p.height; ++y) {
        for (int32_t x = 0; x < p.width; ++x) set_pixel(p, x, y, rgb);
    }
}

// Every pixel tells where it came from: blue = x, green = y, red = 0xCC.
inline void fill_coordinates(Picture& p) {
    for (int32_t y = 0; y < p.height; ++y) {
        for (int32_t x = 0; x < p.width; ++x)
            set_pixel(p, x, y, 0xCC0000u | uint32_t(y) << 8 | uint32_t(x));
    }
}

inline uint32_t coordinate(int32_t x, int32_t y) {
    return 0xCC0000u | uint32_t(y) << 8 | uint32_t(x);
}

}  // namespace qln::test
