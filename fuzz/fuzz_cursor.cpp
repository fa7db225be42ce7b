// Animated cursor files from arbitrary bytes: the layout check, every frame's
// image, and activation followed by a few animation steps with the buttons
// changing, so frame tables, image numbers and timing all see hostile values.

#include <cstddef>
#include <cstdint>

#include "engine/engine.h"
#include "input/cursor.h"
#include "input/cursor_file.h"
#include "input/tracking.h"
#include "platform/null/null_platform.h"
#include "platform/platform.h"
#include "screen/screen.h"

namespace {

class CursorPlatform : public qln::NullPlatform {
  public:
    CursorPlatform() { quit_after = 1000; }
    void cursor_show(const qln::CursorImage* image) override {
        if (!image) return;
        for (uint8_t b : image->bgra) sum_ += b;  // every byte was written
    }
    bool pointer_position(int32_t& x, int32_t& y) override {
        x = 5;
        y = 5;
        return true;
    }
    uint32_t sum_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 200000) return 0;
    qln::CursorLayout layout;
    if (qln::cursor_layout_read(data, size, layout)) {
        qln::CursorImage image;
        for (int state = 0; state < qln::kCursorStates; ++state) {
            for (uint16_t i = 0; i < layout.frame_count[state] && i < 64; ++i) {
                const qln::CursorFrame frame = qln::cursor_frame_at(data, layout, state, i);
                (void)qln::cursor_image_build(data, layout, frame.image, image);
            }
        }
    }

    CursorPlatform platform;
    qln::Engine engine;
    engine.platform = platform.services();
    engine.settings.screen_width = engine.settings.view_width = 16;
    engine.settings.screen_height = engine.settings.view_height = 16;
    if (!qln::screen_init(engine)) return 0;
    if (!qln::cursor_activate(engine, data, size)) return 0;
    // The last bytes steer the buttons and the clock.
    uint32_t now = 0;
    for (int tick = 0; tick < 16; ++tick) {
        const uint8_t steer = size > size_t(tick) ? data[size - 1 - tick] : 0;
        {
            qln::LockHold hold(engine.shared.input.lock);
            engine.shared.input.state.left = steer & 1;
            engine.shared.input.state.right = (steer >> 1) & 1;
        }
        now += uint32_t(steer) * 7;
        qln::cursor_tick(engine, now);
    }
    qln::cursor_release(engine);
    return 0;
}
