// Placeholder so everything links while the screen and the windows are
// written. Deleted by the change that implements them.
#include "graphics/screen.h"
#include "windows/window.h"

namespace qln {
bool screen_init(Engine&) { return true; }
void display_setup(Engine&, int32_t, int32_t, int32_t) {}
int32_t display_mode_request(Engine&, bool) { return 2; }
void screen_shutdown(Engine&) {}
void mark_dirty(Engine&, const Window*, const Rect*) {}
void screen_update(Engine&) {}
bool window_clip(Engine&, const Window&, int32_t&, int32_t&, int32_t&, int32_t&) { return false; }
void window_fill(Engine&, Window&, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t) {}
void window_invert(Engine&, Window&, int32_t, int32_t, int32_t, int32_t) {}
bool window_draw_picture(Engine&, int32_t, int32_t, int32_t, int32_t, int32_t, const Picture*,
                         int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t) {
    return false;
}
bool windows_init(Engine&) { return true; }
void windows_release(Engine&) {}
Window* win_get(Engine&, int32_t, bool) { return nullptr; }
int32_t win_number(Engine&, const Window&) { return -1; }
bool win_open(Engine&, int32_t, int32_t, int32_t, const Window&) { return false; }
bool win_close(Engine&, int32_t) { return false; }
bool win_show(Engine&, int32_t, bool) { return false; }
void win_raise(Engine&, Window&) {}
bool win_move(Engine&, int32_t, int32_t, int32_t) { return false; }
bool win_resize(Engine&, Window&, int32_t, int32_t, bool) { return false; }
int32_t win_pin(Engine&, int32_t, bool) { return 1; }
int32_t win_overlap(Engine&, const Window&) { return 0; }
bool win_paint(Engine&, Window&) { return false; }
}  // namespace qln
