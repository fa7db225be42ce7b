// The four highlight looks. Each saves the pixels it covers first, so the
// next change of window, button or left button can put them back.
//
// Flags of a button (bits 1-2 pick a picture look, else bit 0 picks XOR):
//   & 6 == 2  picture row 1, only while the left button is down
//   & 6 == 4  picture row 1 while hovered
//   & 6 == 6  picture row 1 while hovered, row 2 while the left button is down
//   & 7 == 1  colour XOR while hovered
//   & 7 == 0  the press look, only while the left button is down

#include "input/highlight.h"

#include <cstring>

#include "engine/engine.h"
#include "graphics/draw.h"
#include "input/tracking.h"
#include "screen/screen.h"
#include "tables/tables.h"
#include "windows/window.h"

namespace qln {
namespace {

constexpr uint16_t kFlagsNoHighlight = 0xFFFF;

void saved_free(HighlightState& h) {
    picture_free(h.saved);
    h.saved = nullptr;
    h.saved_from = nullptr;
}

// Puts the saved pixels back, but only into the very picture they came from:
// a window closed or resized since has a new picture without the highlight.
void saved_restore(Engine& engine, HighlightState& h) {
    Window* w = win_get(engine, h.last_window, true);
    if (w && w->picture == h.saved_from) {
        picture_draw(w->picture, h.saved_x, h.saved_y, 0, 0, h.saved, 0, 0, h.saved->width,
                     h.saved->height, 255, 0, 0);
        const Rect area{h.saved_x, h.saved_y, h.saved_x + h.saved->width,
                        h.saved_y + h.saved->height};
        mark_dirty(engine, w, &area);
    }
    saved_free(h);
}

bool saved_take(HighlightState& h, const Picture& from, const Rect& r) {
    Picture* copy =
        picture_create(static_cast<uint16_t>(r.width()), static_cast<uint16_t>(r.height()));
    if (!copy) return false;
    const size_t row_bytes = size_t(r.width()) * 3;
    for (int32_t y = 0; y < r.height(); ++y) {
        const uint8_t* src = from.pixels.get() + (size_t(r.top + y) * from.width + r.left) * 3;
        std::memcpy(copy->pixels.get() + size_t(y) * row_bytes, src, row_bytes);
    }
    h.saved = copy;
    h.saved_x = r.left;
    h.saved_y = r.top;
    h.saved_from = &from;
    return true;
}

void draw_picture_look(Engine& engine, Picture& target, const Rect& full, const Rect& r,
                       uint16_t highlight, int row) {
    const Picture* look = buf_get_picture(engine, highlight);
    if (!look || !saved_take(engine.tracking.highlight, target, r)) return;
    // A button cut by the picture's edge keeps its look aligned with it.
    const int64_t sy = int64_t(row) * full.height() + (r.top - full.top);
    if (sy > INT32_MAX) return;
    picture_draw(&target, r.left, r.top, 0, 0, look, r.left - full.left, int32_t(sy), r.width(),
                 r.height(), 255, 0, 0);
}

}  // namespace

void highlight_update(Engine& engine, const InputState& snap, const Region* button) {
    HighlightState& h = engine.tracking.highlight;
    if (snap.window == h.last_window && snap.button_id == h.last_button_id &&
        snap.left == h.last_left) {
        return;
    }
    if (h.saved) saved_restore(engine, h);
    h.last_window = snap.window;
    h.last_button_id = snap.button_id;
    h.last_left = snap.left;

    if (snap.button_id < 1 || !button || button->flags == kFlagsNoHighlight) return;
    Window* w = win_get(engine, snap.window, true);
    if (!w) return;
    Picture& target = *w->picture;
    const Rect full{button->left, button->top, button->right, button->bottom};
    const Rect r = rect_intersect(full, Rect{0, 0, target.width, target.height});
    if (r.empty()) return;
    const uint16_t highlight = static_cast<uint16_t>(button->highlight);
    const bool left = snap.left != 0;

    switch (button->flags & 6) {
        case 2:
            if (left) draw_picture_look(engine, target, full, r, highlight, 1);
            break;
        case 4:
            draw_picture_look(engine, target, full, r, highlight, 1);
            break;
        case 6:
            draw_picture_look(engine, target, full, r, highlight, left ? 2 : 1);
            break;
        default: {
            const bool xor_look = (button->flags & 1) != 0;
            if (!xor_look && !left) break;
            uint8_t red = 0, green = 0, blue = 0;
            if (!colour_get(engine, highlight, red, green, blue)) break;
            if (!saved_take(h, target, r)) break;
            if (xor_look) {
                // Crosswise on purpose: blue with red, red with blue.
                picture_invert(&target, r.left, r.top, r.width(), r.height(), red, green, blue);
            } else {
                // The press look: the colour, with the old contents moved
                // 2 pixels right and down over it.
                picture_fill(&target, r.left, r.top, r.width(), r.height(), red, green, blue, -1);
                if (r.width() > 2 && r.height() > 2) {
                    picture_draw(&target, r.left + 2, r.top + 2, 0, 0, h.saved, 0, 0, r.width() - 2,
                                 r.height() - 2, 255, 0, 0);
                }
            }
            break;
        }
    }
    if (h.saved) mark_dirty(engine, w, &r);
}

void input_tracking_release(Engine& engine) {
    saved_free(engine.tracking.highlight);
}

}  // namespace qln
