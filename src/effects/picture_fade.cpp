// Drawing a picture into a window with a timed fade-in: the window's
// rectangle blends from what it showed before the draw to what it shows
// after, one level of 255 per frame, through the run loop's timed frames.

#include "effects/picture_fade.h"

#include <algorithm>
#include <cstring>

#include "base/rect.h"
#include "engine/engine.h"
#include "graphics/draw.h"
#include "platform/platform.h"
#include "run/timed_frames.h"
#include "screen/screen.h"
#include "windows/window.h"

namespace qln {
namespace {

// A picture of w x h holding what dst shows at (x, y); black where the
// rectangle leaves dst.
Picture* snapshot_rect(const Picture& dst, int32_t x, int32_t y, int32_t w, int32_t h) {
    Picture* p = picture_create(uint16_t(w), uint16_t(h));
    if (!p) return nullptr;
    std::memset(p->pixels.get(), 0, p->pixel_bytes());
    const int64_t left = std::max<int64_t>(x, 0), top = std::max<int64_t>(y, 0);
    const int64_t right = std::min<int64_t>(int64_t(x) + w, dst.width);
    const int64_t bottom = std::min<int64_t>(int64_t(y) + h, dst.height);
    for (int64_t row = top; row < bottom && left < right; ++row) {
        std::memcpy(p->pixels.get() + (size_t(row - y) * w + size_t(left - x)) * 3,
                    dst.pixels.get() + (size_t(row) * dst.width + size_t(left)) * 3,
                    size_t(right - left) * 3);
    }
    return p;
}

struct CrossFade {
    int32_t win_no;
    Picture* target;
    const Picture* before;
    const Picture* after;
    int32_t dx, dy;
    Rect changed;
    int32_t level = -1;  // the level shown last
};

Frame crossfade_frame(Engine& engine, void* context, uint32_t elapsed, uint32_t duration) {
    auto& f = *static_cast<CrossFade*>(context);
    // A callback in the poll step may have closed or replaced the window (or
    // grown the table): the fade ends with what is there.
    Window* window = win_get(engine, f.win_no, true);
    if (!window || window->picture != f.target) return Frame::Stop;
    const int32_t level = int32_t((uint64_t(elapsed) * 255 + duration / 2) / duration);
    if (level == f.level) return Frame::Unchanged;
    f.level = level;
    picture_crossfade(f.target, f.dx, f.dy, f.before, f.after, level);
    mark_dirty(engine, window, &f.changed);
    screen_update(engine);
    return Frame::Drawn;
}

}  // namespace

bool window_draw_picture(Engine& engine, int32_t win_no, int32_t dx, int32_t dy, int32_t dw,
                         int32_t dh, const Picture* src, int32_t sx, int32_t sy, int32_t sw,
                         int32_t sh, int32_t fade_ms, int32_t opacity, int32_t rop, int32_t flags) {
    ClockService& clock = *engine.platform.clock;
    const uint32_t start = clock.ticks();
    Window* window = win_get(engine, win_no, true);
    if (!window) return false;
    if (!src) return true;

    dw &= 0xFFFF;
    dh &= 0xFFFF;
    const uint32_t fade = uint32_t(fade_ms) & 0xFFFF;
    if (sx == 0 && sy == 0 && (sw & 0xFFFF) == 0 && (sh & 0xFFFF) == 0) {
        sw = src->width;
        sh = src->height;
    }
    if (dw == 0 && dh == 0) {
        dw = sw;
        dh = sh;
    }
    if (win_no == 0) {
        dx = clamp_to_int32(int64_t(dx) + engine.screen.content_x);
        dy = clamp_to_int32(int64_t(dy) + engine.screen.content_y);
    }

    // The fade needs both pictures; without them the picture simply appears.
    // Sizes beyond a picture's reach draw nothing that a fade could show.
    Picture* before = nullptr;
    Picture* after = nullptr;
    const bool can_fade = fade > 0 && dw >= 0 && dh >= 0 && dw <= 0xFFFF && dh <= 0xFFFF;
    if (can_fade) before = snapshot_rect(*window->picture, dx, dy, dw, dh);

    Picture* target = window->picture;
    picture_draw(target, dx, dy, dw, dh, src, sx, sy, sw, sh, opacity, rop, flags);
    const Rect changed = rect_of(dx, dy, dw, dh);
    mark_dirty(engine, window, &changed);
    if (!before) return true;

    after = snapshot_rect(*target, dx, dy, dw, dh);
    if (after) {
        CrossFade fade_frames{win_no, target, before, after, dx, dy, changed};
        (void)timed_frames_run(engine, start, fade, crossfade_frame, &fade_frames);
    }
    picture_free(before);
    picture_free(after);
    return true;
}

}  // namespace qln
