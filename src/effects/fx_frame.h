#pragma once
// The frame every transition effect shares: its source pictures and the
// window it draws into are looked up before any work, window 0's origin is
// shifted by the content offset, and the drawn area is marked dirty after.

#include <cstdint>

namespace qln {

struct Engine;
struct Picture;
struct Window;

// Where an effect draws: the window, its picture, and the origin in that
// picture (the operands' x and y, plus the content offset for window 0).
struct FxTarget {
    Window* window = nullptr;
    Picture* picture = nullptr;
    int32_t x = 0, y = 0;
};

// The picture of data buffer buf_no; nullptr when it holds no picture.
const Picture* fx_source(Engine& engine, int32_t buf_no);

// The open window win_no with its picture and the origin for (x, y); false
// when there is no such window.
bool fx_target(Engine& engine, int32_t win_no, int32_t x, int32_t y, FxTarget& out);

// Every effect's one failure: error -116 with no detail text.
[[nodiscard]] int32_t fx_missing(Engine& engine);

// Marks w x h at (x, y) of the target's picture dirty; the effect's result (0).
int32_t fx_done(Engine& engine, const FxTarget& target, int32_t x, int32_t y, int32_t w, int32_t h);

}  // namespace qln
