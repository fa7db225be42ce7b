#include "effects/fx_frame.h"

#include "base/rect.h"
#include "engine/command_args.h"
#include "engine/engine.h"
#include "screen/screen.h"
#include "tables/tables.h"
#include "windows/window.h"

namespace qln {

const Picture* fx_source(Engine& engine, int32_t buf_no) {
    return buf_get_picture(engine, buf_no);
}

bool fx_target(Engine& engine, int32_t win_no, int32_t x, int32_t y, FxTarget& out) {
    Window* window = win_get(engine, win_no, true);
    if (!window || !window->picture) return false;
    out.window = window;
    out.picture = window->picture;
    out.x = x;
    out.y = y;
    if (win_no == 0) {
        out.x = clamp_to_int32(int64_t(x) + engine.screen.content_x);
        out.y = clamp_to_int32(int64_t(y) + engine.screen.content_y);
    }
    return true;
}

int32_t fx_missing(Engine& engine) {
    return err_report(engine, -116, nullptr);
}

int32_t fx_done(Engine& engine, const FxTarget& target, int32_t x, int32_t y, int32_t w,
                int32_t h) {
    const Rect area = rect_of(x, y, w, h);
    mark_dirty(engine, target.window, &area);
    return 0;
}

}  // namespace qln
