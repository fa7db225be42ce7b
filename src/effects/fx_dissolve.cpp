// The dissolve's edge is E lines wide (rows, columns or diagonals): the
// line at its front is copied whole and those behind it get every j-th
// pixel from a random start, so the copied share thins out towards the back.
// The diagonal mode moves 15 diagonals a pass and thins out only from the
// 16th line of its edge on (every (j >> 3)-th pixel), so an edge of at least
// 16 covers the picture.

#include "effects/fx_dissolve.h"

#include <algorithm>

#include "effects/fx_frame.h"
#include "effects/fx_visible.h"
#include "engine/engine.h"
#include "engine/random_state.h"
#include "run/timed_frames.h"
#include "screen/screen.h"
#include "tables/tables.h"
#include "windows/window.h"

namespace qln {
namespace {

constexpr int32_t kDiagonalsPerPass = 15;

int32_t edge_of(uint16_t edge_width) {
    return edge_width == 0 ? 64 : edge_width;
}

// The first value from start on in steps of step that is at least lo.
int64_t first_from(int64_t start, int64_t step, int64_t lo) {
    return start >= lo ? start : start + (lo - start + step - 1) / step * step;
}

// Every step-th pixel from a random start along line `line` of the picture:
// a row (rows true) or a column.
void sparse_line(Picture& dst, int32_t x, int32_t y, const Picture& src, const FxVisible& vis,
                 bool rows, int32_t line, int32_t step, Random& random) {
    const int32_t start = random_next(random) % step;
    if (rows) {
        if (line < vis.v0 || line >= vis.v1) return;
        for (int64_t c = first_from(start, step, vis.u0); c < vis.u1; c += step) {
            fx_put(fx_pixel(dst, x + c, int64_t(y) + line), fx_pixel(src, c, line));
        }
    } else {
        if (line < vis.u0 || line >= vis.u1) return;
        for (int64_t r = first_from(start, step, vis.v0); r < vis.v1; r += step) {
            fx_put(fx_pixel(dst, int64_t(x) + line, y + r), fx_pixel(src, line, r));
        }
    }
}

// Diagonal d (1 to w + h - 1) runs down to the right from the top row's
// column w - d, or for d > w from row d - w of the left column.
void sparse_diagonal(Picture& dst, int32_t x, int32_t y, const Picture& src, const FxVisible& vis,
                     int64_t d, int32_t step, int32_t start) {
    const int64_t w = src.width, h = src.height;
    const int64_t c0 = d <= w ? w - d : 0, r0 = d <= w ? 0 : d - w;
    const int64_t length = std::min({d <= w ? d : w, h - r0});
    const int64_t lo = std::max<int64_t>({0, vis.u0 - c0, vis.v0 - r0});
    const int64_t hi = std::min<int64_t>({length, vis.u1 - c0, vis.v1 - r0});
    for (int64_t t = first_from(start, step, lo); t < hi; t += step) {
        fx_put(fx_pixel(dst, x + c0 + t, y + r0 + t), fx_pixel(src, c0 + t, r0 + t));
    }
}

Frame wait_frame(Engine&, void*, uint32_t elapsed_ms, uint32_t duration_ms) {
    return elapsed_ms >= duration_ms ? Frame::Drawn : Frame::Unchanged;
}

// The window and picture the run started with, still there after a poll step.
bool still_there(Engine& engine, int32_t buf_no, int32_t win_no, const Picture* src,
                 FxTarget& target) {
    Window* window = win_get(engine, win_no, true);
    if (!window || window->picture != target.picture || fx_source(engine, buf_no) != src) {
        return false;
    }
    target.window = window;  // the table may have moved
    return true;
}

}  // namespace

int32_t fx_dissolve_passes(const Picture& src, uint16_t mode) {
    if (src.width == 0 || src.height == 0) return 0;
    switch (mode) {
        case kDissolveDown:
            return src.height;
        case kDissolveRight:
            return src.width;
        case kDissolveDiagonal:
            return (int32_t(src.width) + src.height - 1 + kDiagonalsPerPass - 1) /
                   kDiagonalsPerPass;
        default:
            return 0;
    }
}

Rect fx_dissolve_pass(Picture& dst, int32_t x, int32_t y, const Picture& src, uint16_t mode,
                      uint16_t edge_width, int32_t pass, Random& random) {
    const int32_t w = src.width, h = src.height, edge = edge_of(edge_width);
    const FxVisible vis = fx_visible(dst, x, y, w, h);
    if (mode == kDissolveDown || mode == kDissolveRight) {
        const bool rows = mode == kDissolveDown;
        const int32_t lines = std::min(edge, (rows ? h : w) - pass);
        for (int32_t j = 1; j <= lines; ++j) {
            sparse_line(dst, x, y, src, vis, rows, pass + j - 1, j, random);
        }
        return rows ? rect_of(x, clamp_to_int32(int64_t(y) + pass), w, lines)
                    : rect_of(clamp_to_int32(int64_t(x) + pass), y, lines, h);
    }
    if (mode != kDissolveDiagonal) return Rect{};
    const int64_t k = 1 + int64_t(pass) * kDiagonalsPerPass;
    // Diagonal 1, the top-right pixel, lies before the edge of the first
    // pass and would never be drawn; it comes with that pass's solid front.
    if (pass == 0 && edge >= 2) sparse_diagonal(dst, x, y, src, vis, 1, 1, 0);
    const int64_t last_diagonal = int64_t(w) + h - 1;
    for (int32_t j = 1; j < edge; ++j) {
        const int32_t step = std::max(j >> 3, 1);
        const int32_t start = random_next(random) % step;
        // Diagonals past the last one still take their random numbers.
        if (k + j <= last_diagonal) sparse_diagonal(dst, x, y, src, vis, k + j, step, start);
    }
    return rect_of(x, y, w, h);
}

void fx_dissolve(Engine& engine, int32_t buf_no, int32_t win_no, const FxTarget& start_target,
                 uint16_t edge_width, uint16_t mode, uint16_t delay) {
    const Picture* src = fx_source(engine, buf_no);
    if (!src) return;
    FxTarget target = start_target;
    const int32_t passes = fx_dissolve_passes(*src, mode);
    const uint32_t wait_ms = uint32_t(delay) * 10;
    ClockService& clock = *engine.platform.clock;
    for (int32_t pass = 0; pass < passes; ++pass) {
        const Rect changed = fx_dissolve_pass(*target.picture, target.x, target.y, *src, mode,
                                              edge_width, pass, engine.random);
        mark_dirty(engine, target.window, &changed);
        screen_update(engine);
        // The wait starts after the drawing: its time is not taken off.
        const FramesEnd end = timed_frames_run(engine, clock.ticks(), wait_ms, wait_frame, nullptr);
        if (!still_there(engine, buf_no, win_no, src, target)) return;
        if (end == FramesEnd::PollFailed) {
            // The program is ending: the picture is finished at once.
            for (int32_t rest = pass + 1; rest < passes; ++rest) {
                (void)fx_dissolve_pass(*target.picture, target.x, target.y, *src, mode, edge_width,
                                       rest, engine.random);
            }
            const Rect area = rect_of(target.x, target.y, src->width, src->height);
            mark_dirty(engine, target.window, &area);
            return;
        }
    }
}

}  // namespace qln
