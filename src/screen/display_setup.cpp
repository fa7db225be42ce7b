// Fitting the output to the display: the main window's style and place, the
// display bitmap's format, the content offset, and display-mode requests.

#include "engine/engine.h"
#include "platform/platform.h"
#include "screen/screen.h"
#include "screen/screen_internal.h"

namespace qln {

void display_setup(Engine& engine, int32_t bits_per_pixel, int32_t display_width,
                   int32_t display_height) {
    ScreenState& s = engine.screen;
    const int32_t sw = s.screen ? s.screen->width : 0;
    const int32_t sh = s.screen ? s.screen->height : 0;
    s.display_width = display_width;
    s.display_height = display_height;
    s.display_bpp = bits_per_pixel;

    if (display_width >= sw && display_height >= sh) {
        engine.shared.window_style =
            display_width == sw && display_height == sh ? WindowStyle::Popup : WindowStyle::Framed;
    }
    // The client area has the screen size, centred on the display.
    s.window_left = (display_width - sw) / 2;
    s.window_top = (display_height - sh) / 2;

    {
        // The update converts under this lock, so it never sees half a format.
        LockHold lock(engine.shared.screen_lock);
        s.eight_bit = bits_per_pixel <= 8;
        DisplayBitmap& d = engine.shared.display;
        d.bits_per_pixel = s.eight_bit ? 8 : 24;
        d.colours_used = s.eight_bit ? 256 : 0;
        d.stride = display_stride(d.width, d.bits_per_pixel);
    }
    content_offset_compute(engine);
}

int32_t display_mode_request(Engine& engine, bool full_screen) {
    ScreenState& s = engine.screen;
    DisplayService* platform = engine.platform.display;
    if (!s.screen) return 2;
    int dw = 0, dh = 0, bpp = 0;
    platform->display_query(dw, dh, bpp);
    const int sw = s.screen->width, sh = s.screen->height;
    const bool at_screen_size = dw == sw && dh == sh;

    bool changed = false;
    if (full_screen) {
        if (at_screen_size) return 1;
        changed = platform->display_mode_change(true, sw, sh, 0);
    } else {
        if (!at_screen_size || (dw == s.startup_display_width && dh == s.startup_display_height)) {
            return 1;
        }
        changed = platform->display_mode_change(false, s.startup_display_width,
                                                s.startup_display_height, 0);
    }
    if (!changed) return 2;
    // The host sends no display-change notice here: take the new mode now.
    platform->display_query(dw, dh, bpp);
    display_setup(engine, bpp, dw, dh);
    mark_dirty(engine, nullptr);
    screen_update(engine);
    return 0;
}

}  // namespace qln
