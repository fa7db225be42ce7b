// Animations from arbitrary bytes: the first bytes steer the sheet size, the
// window, the places and the drawing flags; the rest is the frame script.
// Every frame of the script is drawn, then a group and a single animation
// run through the scheduler with hostile tick counts.

#include <cstddef>
#include <cstdint>

#include "animation/animation.h"
#include "engine/engine.h"
#include "graphics/picture.h"
#include "platform/null/null_platform.h"
#include "screen/screen.h"
#include "tables/tables.h"
#include "windows/window.h"

namespace {

constexpr size_t kSteerBytes = 12;

int32_t steer_i32(const uint8_t* p) {
    // Small places mostly, now and then far ones.
    const int32_t v = int32_t(uint32_t(p[0]) | uint32_t(p[1]) << 8);
    return (p[1] & 0x80) ? v * 40000 : int16_t(v) % 40;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < kSteerBytes || size > 4096) return 0;
    qln::NullPlatform platform;
    qln::Engine engine;
    engine.platform = platform.services();
    engine.settings.screen_width = engine.settings.view_width = 32;
    engine.settings.screen_height = engine.settings.view_height = 32;
    if (!qln::tables_init(engine) || !qln::screen_init(engine)) return 0;
    qln::Window templ;
    if (!qln::win_open(engine, 1, 1 + data[0] % 24, 1 + data[1] % 24, templ)) return 0;
    (void)qln::win_show(engine, 1, true);

    qln::Picture* sheet = qln::buf_new_picture(engine, 2, 1 + data[2] % 20, 1 + data[3] % 20);
    if (!sheet) return 0;
    for (size_t i = 0; i < sheet->pixel_bytes(); ++i) sheet->pixels[i] = uint8_t(i * 7);
    if (data[4] & 1) {
        sheet->alpha.reset(new uint8_t[sheet->alpha_bytes()]);
        for (size_t i = 0; i < sheet->alpha_bytes(); ++i) sheet->alpha[i] = uint8_t(i * 13);
    }
    if (!qln::buf_store_bytes(engine, 3, data + kSteerBytes, size - kSteerBytes)) return 0;

    static const uint16_t kFlags[] = {0, 1, 10, 11, 100, 110};
    const uint16_t flags = kFlags[data[5] % 6];
    const int32_t win_no = (data[4] & 2) ? 0 : 1;
    for (uint16_t n = 0; n < 3; ++n) {
        qln::anim_define(engine, n, win_no, steer_i32(data + 6 + 2 * n), steer_i32(data + 7), 2, 3,
                         flags);
    }
    // Every frame up to a bound, past the end marker too.
    qln::AnimRecord& first = engine.animations.records[0];
    for (uint32_t frame = 0; frame < 600; ++frame) {
        first.frame = uint16_t(frame);
        qln::anim_draw(engine, first);
    }
    first.frame = 0;

    // A group of 0 and 1 started by a play whose wait ends at its first poll
    // (the program is ending), then 2 alone, then ticks at steered times.
    platform.quit = true;
    (void)qln::anim_play_range(engine, 0, 1, data[9] % 4);
    platform.quit = false;
    (void)qln::anim_set_running(engine, 2, true);
    uint32_t now = uint32_t(data[10]) << 24;
    for (int tick = 0; tick < 64; ++tick) {
        now += uint32_t(data[(tick + 11) % size]) * (tick % 3 == 0 ? 1000 : 3);
        qln::anim_tick(engine, now);
        if (tick == 32) (void)qln::buf_free(engine, data[11] & 1 ? 2 : 3);
    }
    qln::screen_update(engine);
    return 0;
}
