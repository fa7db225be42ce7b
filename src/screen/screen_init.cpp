// Setting up and tearing down the screen side: sizes, the screen picture and
// window 0, the display bitmap, the dither and sine tables and the palette.

#include <cmath>
#include <cstring>

#include "engine/engine.h"
#include "engine/window_state.h"
#include "graphics/draw.h"
#include "platform/platform.h"
#include "screen/screen.h"
#include "screen/screen_hooks.h"
#include "screen/screen_internal.h"

namespace qln {
namespace {

// The twenty static colours that every display palette of the original host
// keeps at both ends (red, green, blue); the host gives us no system palette
// to read, so the standard set stands in for it.
constexpr uint8_t kStaticLow[10][3] = {
    {0, 0, 0},     {128, 0, 0},   {0, 128, 0},     {128, 128, 0},   {0, 0, 128},
    {128, 0, 128}, {0, 128, 128}, {192, 192, 192}, {192, 220, 192}, {166, 202, 240},
};
constexpr uint8_t kStaticHigh[10][3] = {
    {255, 251, 240}, {160, 160, 164}, {128, 128, 128}, {255, 0, 0},   {0, 255, 0},
    {255, 255, 0},   {0, 0, 255},     {255, 0, 255},   {0, 255, 255}, {255, 255, 255},
};

void tables_build(ScreenState& s) {
    const double two_pi = 6.283185307179586476925;
    for (int i = 0; i < 1024; ++i) {
        s.sine[i] = static_cast<int16_t>(std::trunc(10000.0 * std::sin(two_pi * i / 1024.0)));
    }
}

void palette_build(ScreenState& s, DisplayBitmap& display) {
    auto set = [&](int n, uint8_t r, uint8_t g, uint8_t b, uint8_t flags) {
        s.palette[n][0] = r;
        s.palette[n][1] = g;
        s.palette[n][2] = b;
        s.palette[n][3] = flags;
        display.colours[n][0] = b;
        display.colours[n][1] = g;
        display.colours[n][2] = r;
        display.colours[n][3] = 0;
    };
    for (int i = 0; i < 10; ++i) {
        set(i, kStaticLow[i][0], kStaticLow[i][1], kStaticLow[i][2], 0);
        set(246 + i, kStaticHigh[i][0], kStaticHigh[i][1], kStaticHigh[i][2], 0);
    }
    for (int r = 0; r < 6; ++r) {
        for (int g = 0; g < 6; ++g) {
            for (int b = 0; b < 6; ++b) {
                set(10 + 36 * r + 6 * g + b, uint8_t(51 * r), uint8_t(51 * g), uint8_t(51 * b), 0);
            }
        }
    }
    for (int i = 226; i <= 245; ++i) set(i, 0, 0, 0, kPaletteReserved);
}

void keyboard_queues_clear(Engine& engine) {
    LockHold lock(engine.shared.input.lock);
    InputQueues& q = engine.shared.input.queues;
    q.char_read = q.char_write = q.key_read = q.key_write = 0;
}

}  // namespace

uint32_t display_stride(int32_t width, int32_t bits_per_pixel) {
    const uint32_t bytes = bits_per_pixel <= 8 ? uint32_t(width) : uint32_t(width) * 3;
    return (bytes + 3) & ~3u;
}

void content_offset_compute(Engine& engine) {
    ScreenState& s = engine.screen;
    const int32_t sw = s.screen ? s.screen->width : 0;
    const int32_t sh = s.screen ? s.screen->height : 0;
    const int32_t vw = engine.settings.view_width, vh = engine.settings.view_height;
    if (vw != 0 && vh != 0) {
        s.view_width = vw;
        s.view_height = vh;
        s.content_x = (sw - vw) / 2;
        s.content_y = (sh - vh) / 2;
    } else {
        s.view_width = sw;
        s.view_height = sh;
        s.content_x = 0;
        s.content_y = 0;
    }
}

bool screen_init(Engine& engine) {
    screen_shutdown(engine);
    ScreenState& s = engine.screen;

    int dw = 640, dh = 480, dbpp = 24;
    engine.platform.display->display_query(dw, dh, dbpp);
    s.startup_display_width = s.display_width = dw;
    s.startup_display_height = s.display_height = dh;
    s.display_bpp = dbpp;

    if (!engine.windows.reset(engine.settings.window_count)) return false;

    int32_t width = engine.settings.screen_width, height = engine.settings.screen_height;
    if (width == 0 || height == 0) {
        width = dw;
        height = dh;
    }
    if (width < 1 || height < 1 || width > 0xFFFF || height > 0xFFFF) {
        screen_shutdown(engine);
        return false;
    }

    s.screen = picture_create(uint16_t(width), uint16_t(height));
    Window& root = engine.windows.records[0];
    root = Window{};
    root.picture = picture_create(uint16_t(width), uint16_t(height));
    if (!s.screen || !root.picture) {
        screen_shutdown(engine);
        return false;
    }
    std::memset(s.screen->pixels.get(), 0, s.screen->pixel_bytes());
    std::memset(root.picture->pixels.get(), 0, root.picture->pixel_bytes());
    root.Visible = 1;
    root.transp = 255;
    root.previous = root.next = kNoWindow;

    engine.shared.screen_width = width;
    engine.shared.screen_height = height;
    DisplayBitmap& d = engine.shared.display;
    d.width = width;
    d.height = height;
    d.bits_per_pixel = 24;
    d.colours_used = 0;
    d.stride = display_stride(width, 24);
    try {
        d.pixels.assign(size_t(d.stride) * size_t(height), 0);
    } catch (...) {
        screen_shutdown(engine);
        return false;
    }
    s.eight_bit = false;
    s.dirty = Rect{0, 0, width, height};

    (void)blend_table();
    tables_build(s);
    palette_build(s, engine.shared.display);
    content_offset_compute(engine);
    keyboard_queues_clear(engine);
    if (!s.hooks) s.hooks = std::make_unique<ScreenHooks>(engine);
    {
        LockHold lock(engine.shared.screen_lock);
        engine.shared.hooks = s.hooks.get();
    }
    s.ready = true;
    return true;
}

void screen_shutdown(Engine& engine) {
    engine.windows.release();
    ScreenState& s = engine.screen;
    picture_free(s.screen);
    s.screen = nullptr;
    {
        LockHold lock(engine.shared.screen_lock);
        engine.shared.display.pixels.clear();
        engine.shared.display.pixels.shrink_to_fit();
        engine.shared.display.width = engine.shared.display.height = 0;
        engine.shared.display.stride = 0;
    }
    s.dirty = Rect{};
    s.ready = false;
}

}  // namespace qln
